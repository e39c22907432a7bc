// monitor: the interface's joystick reports as they arrive, unfiltered: report rate,
// intervals, dropouts, repeats and per-axis figures, once a second and in a summary.
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "cli/exit_codes.h"
#include "report/clock.h"
#include "report/report_buffer.h"
#include "report/report_port.h"
#include "signal/core/signal_scope.h"

namespace orvane::cli {

namespace {

constexpr const char* kMonitorHelp =
    R"(usage: orvane-cli monitor [--seconds S] [--csv FILE] [--json] [--device N|SERIAL]

Reads the interface's joystick reports (report id 01, eight axes and eight buttons, every
10 ms) as they arrive, unfiltered, and measures them: the report rate, the intervals
between reports (minimum, median, maximum), dropouts (intervals of three report periods
and more), reports that repeat the one before (a transmitter frame longer than the report
period is sent twice: information, not a fault), and per axis minimum, maximum, mean,
standard deviation and the largest peak-to-peak within any one second (ptp_1s, in raw
counts), which shows jitter while the sticks rest.

Prints one line a second (report rate, dropouts so far, the largest ptp_1s of that second)
and a summary when S seconds are over or on Ctrl+C. Without --seconds it runs until
Ctrl+C.

  --seconds S   stop after S seconds (fractions allowed)
  --csv FILE    write every report: time in ms since the start, the eight axes, the
                eight buttons (0 or 1), after a header line
  --json        print one JSON object at the end instead of the lines and the summary

Exit code 3 when no interface is found, 4 when it cannot be opened, 5 when it left or sent
no joystick report, 1 when the CSV file cannot be written.
)";

// Ctrl+C asks the loop to end; the loop looks at least every read timeout.
std::atomic<bool> gInterrupted{false}; // NOLINT: a signal handler can reach nothing else

extern "C" void onInterrupt(int) {
    gInterrupted = true;
}

// Installs the handler for the command's life and puts the previous one back.
class InterruptGuard {
public:
    InterruptGuard() {
        gInterrupted = false;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~InterruptGuard() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

double msBetween(signal::TimePoint from, signal::TimePoint to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::optional<double> parseSeconds(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0 || value > 365.0 * 24 * 3600)
        return std::nullopt;
    return value;
}

void writeCsvHeader(std::ostream& csv) {
    csv << "time_ms";
    for (int k = 1; k <= signal::kAxes; ++k)
        csv << ",axis" << k;
    for (int b = 1; b <= signal::kButtons; ++b)
        csv << ",button" << b;
    csv << "\n";
}

void writeCsvLine(std::ostream& csv, const signal::Sample& s, signal::TimePoint start) {
    csv << fixed(msBetween(start, s.time), 3);
    for (const uint16_t v : s.axes)
        csv << ',' << v;
    for (int b = 0; b < signal::kButtons; ++b)
        csv << ',' << (s.pressed(b) ? 1 : 0);
    csv << "\n";
}

// The axis with the largest ptp_1s (the first of equals), 0-based.
int noisiestAxis(const signal::Figures& f) {
    int best = 0;
    for (int k = 1; k < signal::kAxes; ++k)
        if (f.axes[k].ptp1s > f.axes[best].ptp1s) best = k;
    return best;
}

void printSecond(std::ostream& out, int second, const signal::Figures& lastSecond,
                 const signal::Figures& total) {
    const int axis = noisiestAxis(lastSecond);
    out << second << " s: " << lastSecond.reports << " reports, dropouts " << total.dropouts
        << ", largest ptp_1s " << lastSecond.axes[axis].ptp1s << " (axis " << axis + 1 << " "
        << signal::kAxisNames[static_cast<std::size_t>(axis)] << ")\n";
}

void printSummary(std::ostream& out, const signal::Figures& f, signal::TimePoint start) {
    out << "Reports: " << f.reports << " in " << fixed(f.seconds, 3) << " s (" << fixed(f.rateHz, 1)
        << " per second)\n";
    if (f.intervals.count > 0) {
        out << "Intervals: min " << fixed(f.intervals.minMs, 2) << " ms, median "
            << fixed(f.intervals.medianMs, 2) << " ms, max " << fixed(f.intervals.maxMs, 2)
            << " ms\n  histogram:";
        const char* separator = " ";
        for (int i = 0; i < signal::IntervalFigures::kBins; ++i) {
            const long n = f.intervals.histogram[static_cast<std::size_t>(i)];
            if (n == 0) continue;
            out << separator << (i + 1 == signal::IntervalFigures::kBins ? ">=" : "") << i
                << " ms: " << n;
            separator = ", ";
        }
        out << "\n";
    }
    out << "Dropouts: " << f.dropouts;
    for (const auto& d : f.dropoutList)
        out << "\n  at " << fixed(msBetween(start, d.at) / 1000.0, 3)
            << " s: " << fixed(d.lengthMs, 1) << " ms without a report (" << d.missing
            << " missing)";
    if (f.dropouts > static_cast<long>(f.dropoutList.size())) out << "\n  (the newest listed)";
    out << "\nRepeats: " << f.repeats << " (" << fixed(100.0 * f.repeatShare, 1)
        << " % of the reports repeat the one before)\n";
    out << "Axis      min    max      mean      std  ptp_1s\n";
    for (int k = 0; k < signal::kAxes; ++k) {
        const auto& a = f.axes[static_cast<std::size_t>(k)];
        char line[128];
        std::snprintf(line, sizeof line, "%d %-3s %6u %6u %9.1f %8.2f %7u\n", k + 1,
                      signal::kAxisNames[static_cast<std::size_t>(k)], a.min, a.max, a.mean, a.std,
                      a.ptp1s);
        out << line;
    }
    out << "Buttons (state, changes):";
    for (int b = 0; b < signal::kButtons; ++b) {
        const auto& button = f.buttons[static_cast<std::size_t>(b)];
        out << " " << b + 1 << (button.pressed ? " on " : " off ") << button.changes
            << (b + 1 < signal::kButtons ? "," : "\n");
    }
}

void printFiguresJson(std::ostream& out, const signal::Figures& f, signal::TimePoint start) {
    out << "{\n  \"reports\": " << f.reports << ",\n  \"seconds\": " << fixed(f.seconds, 3)
        << ",\n  \"rate_hz\": " << fixed(f.rateHz, 2) << ",\n  \"dropouts\": " << f.dropouts
        << ",\n  \"dropout_list\": [";
    for (std::size_t i = 0; i < f.dropoutList.size(); ++i) {
        const auto& d = f.dropoutList[i];
        out << (i ? ", " : "") << "{\"at_ms\": " << fixed(msBetween(start, d.at), 3)
            << ", \"length_ms\": " << fixed(d.lengthMs, 3) << ", \"missing\": " << d.missing << "}";
    }
    out << "],\n  \"intervals_ms\": {\"min\": " << fixed(f.intervals.minMs, 3)
        << ", \"median\": " << fixed(f.intervals.medianMs, 3)
        << ", \"max\": " << fixed(f.intervals.maxMs, 3) << ", \"histogram\": [";
    for (int i = 0; i < signal::IntervalFigures::kBins; ++i)
        out << (i ? ", " : "") << f.intervals.histogram[static_cast<std::size_t>(i)];
    out << "]},\n  \"repeats\": " << f.repeats
        << ",\n  \"repeat_share\": " << fixed(f.repeatShare, 4) << ",\n  \"channels\": [";
    for (int k = 0; k < signal::kAxes; ++k) {
        const auto& a = f.axes[static_cast<std::size_t>(k)];
        out << (k ? "," : "") << "\n    {\"axis\": " << k + 1 << ", \"name\": \""
            << signal::kAxisNames[static_cast<std::size_t>(k)] << "\", \"current\": " << a.current
            << ", \"min\": " << a.min << ", \"max\": " << a.max
            << ", \"mean\": " << fixed(a.mean, 3) << ", \"std\": " << fixed(a.std, 3)
            << ", \"ptp_1s\": " << a.ptp1s << "}";
    }
    out << "\n  ],\n  \"buttons\": [";
    for (int b = 0; b < signal::kButtons; ++b) {
        const auto& button = f.buttons[static_cast<std::size_t>(b)];
        out << (b ? ", " : "") << "{\"button\": " << b + 1
            << ", \"pressed\": " << (button.pressed ? "true" : "false")
            << ", \"changes\": " << button.changes << "}";
    }
    out << "]\n}\n";
}

} // namespace

int commandMonitor(std::span<const std::string> words, CliServices& services) {
    const Arguments a = parseArguments(words, {"--device", "--seconds", "--csv"},
                                       {"--json", "--verbose", "--help"});
    if (a.has("--help")) {
        services.out << kMonitorHelp;
        return code(ExitCode::Ok);
    }
    if (!a.error.empty() || !a.positional.empty()) {
        services.err << (a.error.empty() ? "monitor takes no arguments besides its options."
                                         : a.error)
                     << "\n";
        return code(ExitCode::Usage);
    }
    std::optional<double> seconds;
    if (const auto text = a.value("--seconds")) {
        seconds = parseSeconds(*text);
        if (!seconds) {
            services.err << "--seconds takes a number of seconds above 0.\n";
            return code(ExitCode::Usage);
        }
    }
    const bool json = a.has("--json");

    DeviceSession session(services, a.value("--device").value_or(""), Want::Interface);
    if (const auto failure = session.failure()) return code(*failure);

    std::ofstream csv;
    if (const auto path = a.value("--csv")) {
        csv.open(*path, std::ios::out | std::ios::trunc);
        if (!csv) {
            services.err << "The CSV file " << *path << " cannot be written.\n";
            return code(ExitCode::Failure);
        }
        writeCsvHeader(csv);
    }

    InterruptGuard interrupt;
    signal::SignalScope scope;
    std::array<uint8_t, report::kReportBufferSize> buffer{};
    const signal::TimePoint start = services.clock.now();
    const auto end = seconds ? std::optional(start + std::chrono::duration_cast<signal::Duration>(
                                                         std::chrono::duration<double>(*seconds)))
                             : std::nullopt;
    int secondsShown = 0;
    bool left = false;
    for (;;) {
        const signal::TimePoint now = services.clock.now();
        if (gInterrupted || (end && now >= *end)) break;
        if (!json) {
            // One line for each whole second gone by.
            while (now - start >= std::chrono::seconds(secondsShown + 1)) {
                ++secondsShown;
                const auto to = start + std::chrono::seconds(secondsShown);
                printSecond(services.out, secondsShown,
                            scope.figuresBetween(to - std::chrono::seconds(1), to), scope.totals());
                services.out.flush();
            }
        }
        auto wait = std::chrono::milliseconds(100);
        if (end) wait = std::min(wait, std::chrono::ceil<std::chrono::milliseconds>(*end - now));
        const int n = services.port.readFor(buffer, wait);
        // The arrival time is taken as the read returns.
        const signal::TimePoint arrival = services.clock.now();
        if (n < 0) {
            left = true;
            break;
        }
        if (n == 0) continue;
        const auto sample = signal::parseJoystickReport(
            std::span<const uint8_t>(buffer.data(), static_cast<std::size_t>(n)), arrival);
        if (!sample) continue; // an answer or another report: not the joystick's
        if (end && arrival > *end) break;
        scope.add(*sample);
        if (csv.is_open()) writeCsvLine(csv, *sample, start);
    }

    const signal::Figures total = scope.totals();
    if (json)
        printFiguresJson(services.out, total, start);
    else
        printSummary(services.out, total, start);
    if (csv.is_open()) {
        csv.flush();
        if (!csv) {
            services.err << "The CSV file could not be written in full.\n";
            return code(ExitCode::Failure);
        }
    }
    if (left) {
        services.err << "The interface left or could not be read any more.\n";
        return code(ExitCode::NoAnswer);
    }
    if (total.reports == 0) {
        services.err << "No joystick report came from the interface.\n";
        return code(ExitCode::NoAnswer);
    }
    return code(ExitCode::Ok);
}

} // namespace orvane::cli
