// How far the signal scope's measured report intervals are from the true ones: joystick
// reports read through the real libtavrel.so, loaded by name, from the emulated interface,
// which sends one exactly every 10 ms and leaves out ten of them once a second. The reports
// are read as the Signal tab reads them between exchanges: by the port's reading thread,
// each stamped by the port as its read returns (orvane-cli monitor's blocking reads stamp
// them the same way).
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
#include <thread>
#include <vector>

#include "device/tavrel_library.h"
#include "device/tavrel_report_port.h"
#include "report/port_reader.h"
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

    // Runs on the reading thread; read only after that thread has ended.
    struct Arrivals final : orvane::report::ReportListener {
        explicit Arrivals(orvane::signal::SignalScope& s) : scope(s) {}
        void reportArrived(std::span<const uint8_t> report, Clock::time_point arrival) override {
            if (scope.addReport(report, arrival)) times.push_back(arrival);
        }
        orvane::signal::SignalScope& scope;
        std::vector<Clock::time_point> times;
    } heard(scope);
    orvane::TavrelReportPort port(tavrel);
    const double cpuBefore = cpuSeconds();
    const auto begin = Clock::now();
    long reads = 0;
    bool failing = false;
    {
        const orvane::report::ListenerRegistration registration(port, heard);
        orvane::report::PortReader reader(port);
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        reads = reader.reads();
        failing = reader.failing();
    }
    const double wall = std::chrono::duration<double>(Clock::now() - begin).count();
    const double cpu = cpuSeconds() - cpuBefore;
    if (failing) {
        std::printf("the reads failed\n");
        return 1;
    }
    const std::vector<Clock::time_point>& arrivals = heard.times;
    std::printf("reads %ld by the reading thread\n", reads);
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
