#include "signal/core/signal_scope.h"

#include "signal/core/window_figures.h"

#include <algorithm>

namespace orvane::signal {

SignalScope::SignalScope(ScopeOptions options)
    : options_(options), history_(options.maxSamples),
      running_(options.nominalPeriod, options.dropoutFactor, options.maxDropoutsListed) {}

bool SignalScope::addReport(std::span<const uint8_t> report, TimePoint arrival) {
    const auto sample = parseJoystickReport(report, arrival);
    if (!sample) return false;
    add(*sample);
    return true;
}

void SignalScope::add(const Sample& sample) {
    Sample s = sample;
    // The history stays in time order, which the range searches and the intervals need.
    if (!history_.empty() && s.time < history_.newest().time) s.time = history_.newest().time;
    history_.push(s);
    while (history_.size() > 1 && s.time - history_.oldest().time > options_.window)
        history_.popOldest();
    running_.add(s);
}

void SignalScope::clear() {
    history_.clear();
    running_.clear();
}

std::pair<std::size_t, std::size_t> SignalScope::indicesBetween(TimePoint from,
                                                                TimePoint to) const {
    // Binary searches over the ring's logical order.
    auto lowerIndex = [&](TimePoint t, bool inclusive) {
        std::size_t lo = 0;
        std::size_t hi = history_.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            const TimePoint m = history_.at(mid).time;
            if (inclusive ? m < t : m <= t)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    };
    if (to < from) return {0, 0};
    const std::size_t first = lowerIndex(from, true);
    const std::size_t last = lowerIndex(to, false);
    return {first, std::max(first, last)};
}

std::vector<Sample> SignalScope::samplesBetween(TimePoint from, TimePoint to) const {
    std::vector<Sample> out;
    forEachBetween(from, to, [&](const Sample& s) { out.push_back(s); });
    return out;
}

Figures SignalScope::figures() const {
    return windowFigures(history_, 0, history_.size(), options_.nominalPeriod,
                         options_.dropoutFactor);
}

Figures SignalScope::figuresBetween(TimePoint from, TimePoint to) const {
    const auto [first, last] = indicesBetween(from, to);
    return windowFigures(history_, first, last, options_.nominalPeriod, options_.dropoutFactor);
}

} // namespace orvane::signal
