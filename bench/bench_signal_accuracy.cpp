// How far the signal scope's measured report intervals are from the true ones: joystick
// reports read through the real libtavrel.so, loaded by name, from the emulated interface,
// which sends one exactly every 10 ms and leaves out ten of them once a second. Each read's
// arrival time is taken as the read returns, as orvane-cli monitor takes it.
//
// usage: bench_signal_accuracy [SECONDS]   (default 10)
// Prints the error of each interval against the truth (10 ms, or 110 ms over a gap) as
// median, 90th and 99th percentile and maximum, the scope's median interval and rate against
// the truth, the gaps found, and the CPU time as a share of the wall time.
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/tavrel_library.h"
#include "signal/core/signal_scope.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kPeriodMs = 10.0;
constexpr double kGapEveryMs = 1000.0;
constexpr double kGapMs = 100.0;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1));
    return v[i];
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (!(seconds > 0)) {
        std::fprintf(stderr, "usage: bench_signal_accuracy [SECONDS]\n");
        return 2;
    }
    const std::string device =
        "interface:channels=100:noise=3:gap_every_ms=" + std::to_string(kGapEveryMs) +
        ":gap_ms=" + std::to_string(kGapMs);
    setenv("TAVREL_EMULATOR", device.c_str(), 1);
    unsetenv("TAVREL_EMULATOR_STATE");

    orvane::TavrelLibrary tavrel;
    if (tavrel.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, -1) != 1) {
        std::printf("the emulated interface did not open\n");
        return 1;
    }
    orvane::signal::ScopeOptions options;
    options.window = std::chrono::duration_cast<orvane::signal::Duration>(
        std::chrono::duration<double>(seconds + 1));
    options.maxSamples = static_cast<std::size_t>(seconds * 200) + 16;
    orvane::signal::SignalScope scope(options);

    std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer{};
    std::vector<Clock::time_point> arrivals;
    const double cpuBefore = cpuSeconds();
    const auto begin = Clock::now();
    const auto end =
        begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < end) {
        const int n = tavrel.ReadTimeout(buffer, 100);
        const auto arrival = Clock::now();
        if (n < 0) {
            std::printf("the read failed\n");
            return 1;
        }
        if (n > 0 &&
            scope.addReport(std::span(buffer.data(), static_cast<std::size_t>(n)), arrival))
            arrivals.push_back(arrival);
    }
    const double wall = std::chrono::duration<double>(Clock::now() - begin).count();
    const double cpu = cpuSeconds() - cpuBefore;
    tavrel.CloseRead();
    tavrel.CloseWrite();

    // The truth of each interval: one period, or the period and a gap.
    std::vector<double> errors;
    long gapsSeen = 0;
    for (std::size_t i = 1; i < arrivals.size(); ++i) {
        const double ms =
            std::chrono::duration<double, std::milli>(arrivals[i] - arrivals[i - 1]).count();
        const bool overGap = ms > kPeriodMs + kGapMs / 2;
        if (overGap) ++gapsSeen;
        errors.push_back(std::abs(ms - (overGap ? kPeriodMs + kGapMs : kPeriodMs)));
    }
    const auto f = scope.totals();
    // Gaps come k seconds after plug-in, which is just before the reading began; the last
    // one counts when the report behind it came in time.
    const long trueGaps =
        static_cast<long>(std::floor((seconds * 1000.0 - kGapMs - kPeriodMs) / kGapEveryMs));
    const double trueRate = 1000.0 / kPeriodMs * (1.0 - kGapMs / kGapEveryMs);
    std::printf("reports %ld in %.3f s\n", f.reports, f.seconds);
    std::printf("interval error ms: median %.3f  p90 %.3f  p99 %.3f  max %.3f\n",
                percentile(errors, 0.5), percentile(errors, 0.9), percentile(errors, 0.99),
                percentile(errors, 1.0));
    std::printf("scope median interval %.3f ms (truth %.3f, error %.3f)\n", f.intervals.medianMs,
                kPeriodMs, std::abs(f.intervals.medianMs - kPeriodMs));
    std::printf("scope rate %.2f Hz (truth about %.2f)\n", f.rateHz, trueRate);
    std::printf("gaps found %ld of %ld; scope dropouts %ld\n", gapsSeen, trueGaps, f.dropouts);
    std::printf("cpu/wall %.2f%%\n", 100.0 * cpu / wall);
    const bool goal = percentile(errors, 0.5) <= 0.2;
    std::printf("goal (median interval error <= 0.2 ms): %s\n", goal ? "met" : "MISSED");
    return goal ? 0 : 1;
}
