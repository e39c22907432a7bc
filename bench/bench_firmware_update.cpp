// A full firmware update (erase 256, program 1024 lines each written and read back, verify
// 1024: 3328 exchanges) through the real libtavrel.so, loaded by name, against emulated
// boot loaders answering after 1, 1.5 and 2 ms. Prints the wall time as a ratio to the
// link's limit (exchanges x latency), the median overhead per exchange and the CPU time as
// a share of the wall time.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/tavrel_library.h"
#include "device/tavrel_report_port.h"
#include "firmware/core/boot_loader.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when each request goes out: the time between two requests is one whole exchange.
class TimedPort final : public orvane::report::ReportPort {
public:
    explicit TimedPort(orvane::report::ReportPort& inner) : inner_(inner) {}
    std::vector<Clock::time_point> writes;
    int write(std::span<const uint8_t, orvane::report::kReportBufferSize> r) override {
        writes.push_back(Clock::now());
        return inner_.write(r);
    }
    int read(std::span<uint8_t, orvane::report::kReportBufferSize> r) override {
        return inner_.read(r);
    }
    int readFor(std::span<uint8_t, orvane::report::kReportBufferSize> r,
                std::chrono::milliseconds timeout) override {
        return inner_.readFor(r, timeout);
    }

private:
    orvane::report::ReportPort& inner_;
};

class QuietView final : public orvane::firmware::UpdateView {
public:
    std::string text;
    void replaceConsole(std::string_view t) override { text = t; }
    void appendConsole(std::string_view t) override { text += t; }
    void setProgressMaximum(int) override {}
    void setProgress(int) override {}
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main() {
    const std::vector<double> latencies{1.0, 1.5, 2.0};
    std::string devices;
    for (double latency : latencies)
        devices += (devices.empty() ? "" : ",") + std::string("loader:latency_ms=") +
                   std::to_string(latency);
    setenv("TAVREL_EMULATOR", devices.c_str(), 1);
    unsetenv("TAVREL_EMULATOR_STATE");

    orvane::TavrelLibrary tavrel;
    orvane::TavrelReportPort libraryPort(tavrel);
    orvane::firmware::MemoryImage image;
    for (uint32_t a = orvane::firmware::kApplicationStart; a < orvane::firmware::kApplicationEnd;
         ++a)
        image.setByte(a, static_cast<uint8_t>(a * 37 ^ 0xA5));

    std::printf("%-8s %9s %9s %7s %14s %9s  %s\n", "latency", "wall s", "limit s", "ratio",
                "median over ms", "cpu/wall", "result");
    int failures = 0;
    for (std::size_t slot = 0; slot < latencies.size(); ++slot) {
        const std::string serial = "EMU" + std::to_string(slot);
        if (tavrel.Open(0x5381, 0x640B, nullptr, serial.c_str(), nullptr, -1) != 1) {
            std::printf("boot loader %s did not open\n", serial.c_str());
            return 1;
        }
        TimedPort port(libraryPort);
        orvane::report::SteadyClock clock;
        QuietView view;
        orvane::firmware::BootLoaderLink link(port, clock, view);
        link.InputReportLen = 22;
        link.OutputReportLen = 22;
        orvane::firmware::BootLoader loader(link, view);
        orvane::firmware::LinkRandom random(1);
        loader.probe(random);
        loader.start(random);
        port.writes.clear();

        const double cpuBefore = cpuSeconds();
        const auto begin = Clock::now();
        const bool ok =
            loader.eraseMemory() == orvane::firmware::OperationOutcome::Completed &&
            loader.uploadMemory(image) == orvane::firmware::OperationOutcome::Completed &&
            loader.verifyMemory(image) == orvane::firmware::OperationOutcome::Completed;
        const auto end = Clock::now();
        const double cpu = cpuSeconds() - cpuBefore;
        port.writes.push_back(end);

        const double wall = std::chrono::duration<double>(end - begin).count();
        const double exchanges = static_cast<double>(port.writes.size() - 1);
        const double limit = exchanges * latencies[slot] / 1000.0;
        std::vector<double> overheads;
        for (std::size_t i = 1; i < port.writes.size(); ++i)
            overheads.push_back(
                std::chrono::duration<double, std::milli>(port.writes[i] - port.writes[i - 1])
                    .count() -
                latencies[slot]);
        std::sort(overheads.begin(), overheads.end());
        if (std::getenv("BENCH_DETAIL"))
            std::printf("p90 %.3f p99 %.3f max %.3f ms\n", overheads[overheads.size() * 9 / 10],
                        overheads[overheads.size() * 99 / 100], overheads.back());
        std::printf("%-8.1f %9.3f %9.3f %7.3f %14.3f %8.1f%%  %s (%.0f exchanges)\n",
                    latencies[slot], wall, limit, wall / limit, overheads[overheads.size() / 2],
                    100.0 * cpu / wall, ok ? "ok" : "FAILED", exchanges);
        if (!ok) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
