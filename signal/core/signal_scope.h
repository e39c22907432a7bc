// The signal scope: fed with joystick reports and their arrival times, it keeps the newest
// stretch of samples (a bounded ring, for a strip chart) and computes the report rate, the
// intervals, the dropouts and per-axis figures, both over that stretch and over everything
// since the last clear().
#ifndef ORVANE_SIGNAL_CORE_SIGNAL_SCOPE_H
#define ORVANE_SIGNAL_CORE_SIGNAL_SCOPE_H

#include "signal/core/figures.h"
#include "signal/core/running_figures.h"
#include "signal/core/sample.h"
#include "signal/core/sample_ring.h"

#include <chrono>
#include <cstddef>
#include <span>
#include <vector>

namespace orvane::signal {

struct ScopeOptions {
    // The stretch the history keeps and figures() covers.
    Duration window = std::chrono::seconds(10);
    // The interface's report period; an interval of dropoutFactor periods or more is a dropout.
    Duration nominalPeriod = std::chrono::milliseconds(10);
    double dropoutFactor = 3.0;
    // Hard bound on the history, whatever the report rate (a flood must not grow memory).
    std::size_t maxSamples = 4096;
    // Dropouts kept with their times in the running figures (all are counted).
    std::size_t maxDropoutsListed = 64;
};

class SignalScope {
public:
    explicit SignalScope(ScopeOptions options = {});

    // A report as read (report id first) with its arrival time. Returns false, and changes
    // nothing, for anything but a joystick report.
    bool addReport(std::span<const uint8_t> report, TimePoint arrival);
    // A sample in time order; one older than the newest is taken at the newest's time.
    void add(const Sample& sample);
    // Forgets every sample and figure.
    void clear();

    const ScopeOptions& options() const { return options_; }

    // The history: the samples of the last window, oldest first.
    std::size_t size() const { return history_.size(); }
    bool empty() const { return history_.empty(); }
    const Sample& at(std::size_t i) const { return history_.at(i); }
    const Sample& newest() const { return history_.newest(); }
    // The indices [first, last) of the samples with from <= time <= to.
    std::pair<std::size_t, std::size_t> indicesBetween(TimePoint from, TimePoint to) const;
    // Calls f(const Sample&) for each sample with from <= time <= to, oldest first.
    template <class F> void forEachBetween(TimePoint from, TimePoint to, F&& f) const {
        const auto [first, last] = indicesBetween(from, to);
        for (std::size_t i = first; i < last; ++i)
            f(history_.at(i));
    }
    std::vector<Sample> samplesBetween(TimePoint from, TimePoint to) const;

    // Figures over the history (the last window).
    Figures figures() const;
    // Figures over the history's samples with from <= time <= to.
    Figures figuresBetween(TimePoint from, TimePoint to) const;
    // Figures over every sample since the scope was made or cleared, kept in bounded memory.
    Figures totals() const { return running_.figures(); }

private:
    ScopeOptions options_;
    SampleRing history_;
    RunningFigures running_;
};

} // namespace orvane::signal

#endif
