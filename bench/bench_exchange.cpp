// The time of one request-and-answer exchange with the interface through libtavrel, on
// whatever back end the library uses: the emulated one when TAVREL_EMULATOR is set, the
// hidraw one otherwise. Run both in the same machine and compare the two means.
//
//   bench_exchange [COUNT]
//
// Each exchange sends a configuration read command (codes 10-1F in turn, so that every
// answer names its request) and waits for its answer, passing over joystick reports. An
// answer that does not come within a second is lost; an answer with another code (a
// repeated or late one) is extra. Prints one line of figures.
#include <tavrel/tavrel.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint8_t kAnswerId = 0xF9;

// The answer to the request with this code, or nothing within the bound; counts the
// other F9 reports that came meanwhile.
bool awaitAnswer(uint8_t code, Clock::time_point deadline, int& extra) {
    std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> report{};
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        const int32_t n = ReadTimeout(report.data(), static_cast<int32_t>(left.count()));
        if (n < 0) return false;
        if (n == 0 || report[0] != kAnswerId) continue;
        if (report[1] == code) return true;
        ++extra;
    }
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    if (Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1) != 1) {
        std::fputs("bench_exchange: the interface did not open\n", stderr);
        return 1;
    }
    std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> report{};
    while (Read(report.data()) > 0) {
    }
    std::vector<double> micros;
    int lost = 0;
    int extra = 0;
    for (int i = 0; i < count; ++i) {
        const auto code = static_cast<uint8_t>(0x10 + i % 16);
        std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> request{0xF9, 0x00, 0x08, 0x15, 0xEE, code};
        const auto start = Clock::now();
        if (Write(request.data()) <= 0) {
            std::fputs("bench_exchange: a write failed\n", stderr);
            return 1;
        }
        if (awaitAnswer(code, start + std::chrono::seconds(1), extra))
            micros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        else
            ++lost;
    }
    // Answers still arriving after the last exchange are extra too.
    awaitAnswer(0xFF, Clock::now() + std::chrono::milliseconds(300), extra);
    CloseRead();
    CloseWrite();
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (const double m : micros)
        sum += m;
    const double mean = micros.empty() ? 0 : sum / static_cast<double>(micros.size());
    const double median = micros.empty() ? 0 : micros[micros.size() / 2];
    std::printf("exchanges %d mean_us %.0f median_us %.0f lost %d extra %d\n", count, mean, median,
                lost, extra);
    return 0;
}
