// Per-call cost of libtavrel's plain functions on emulated devices: the overlapped read
// that finds nothing (the read loops of the program call it hundreds of times per
// answer), a write, and a listing.
#include <tavrel/tavrel.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t kAny = TAVREL_ANY_ID;
constexpr uint32_t kLoaderVendor = 0x5381;
constexpr uint32_t kLoaderProduct = 0x640B;
constexpr uint32_t kInterfaceVendor = 0x537F;
constexpr uint32_t kInterfaceProduct = 0x6425;

// The boot loader sends nothing on its own, so its input queue stays empty.
void BM_ReadNothingWaiting(benchmark::State& state) {
    SetInstance(0);
    if (Open(kLoaderVendor, kLoaderProduct, nullptr, nullptr, nullptr, 1) != 1) {
        state.SkipWithError("boot loader did not open");
        return;
    }
    std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> report{};
    for (auto _ : state) {
        const int32_t n = Read(report.data());
        benchmark::DoNotOptimize(n);
        if (n != 0) {
            state.SkipWithError("a report was waiting");
            break;
        }
    }
    CloseRead();
    CloseWrite();
}
BENCHMARK(BM_ReadNothingWaiting);

// A configuration read command of the interface; its answers pile up in the bounded input
// queue and are dropped there, as on a real device nobody reads.
void BM_Write(benchmark::State& state) {
    SetInstance(1);
    if (Open(kInterfaceVendor, kInterfaceProduct, nullptr, nullptr, nullptr, 1) != 1) {
        state.SkipWithError("interface did not open");
        SetInstance(0);
        return;
    }
    const std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> command{0xF9, 0x00, 0x08, 0x15,
                                                                 0xEE, 0x10, 0x00, 0x00};
    for (auto _ : state) {
        const int32_t n = Write(command.data());
        benchmark::DoNotOptimize(n);
    }
    CloseRead();
    CloseWrite();
    SetInstance(0);
}
BENCHMARK(BM_Write);

void BM_GetList(benchmark::State& state) {
    SetInstance(0);
    std::vector<std::array<char, 50>> texts(60);
    std::array<DeviceListEntry, 20> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = DeviceListEntry{
            texts[3 * i].data(), texts[3 * i + 1].data(), texts[3 * i + 2].data(), 0, 0, 0, 0};
    for (auto _ : state) {
        const int32_t n = GetList(kAny, kAny, nullptr, nullptr, nullptr, entries.data(), 20);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_GetList);

} // namespace

int main(int argc, char** argv) {
    // The emulated bus, unless the caller chose devices: set before the first call, which
    // is when the library picks its back end.
    setenv("TAVREL_EMULATOR", "interface,loader", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
