// The largest peak-to-peak of one value within any span of a given length, kept as samples
// arrive: two monotonic queues give the span's maximum and minimum in constant time.
#ifndef ORVANE_SIGNAL_CORE_PEAK_TO_PEAK_H
#define ORVANE_SIGNAL_CORE_PEAK_TO_PEAK_H

#include "signal/core/sample.h"

#include <cstdint>
#include <deque>

namespace orvane::signal {

class PeakToPeak {
public:
    explicit PeakToPeak(Duration span = std::chrono::seconds(1), std::size_t maxHeld = 4096)
        : span_(span), maxHeld_(maxHeld) {}

    // Times in order. A span holds the samples no more than `span` apart.
    void add(TimePoint t, uint16_t value);
    uint16_t largest() const { return largest_; }
    void clear();

private:
    struct Entry {
        TimePoint t;
        uint16_t value;
    };
    Duration span_;
    std::size_t maxHeld_;     // bound on each queue, whatever the rate
    std::deque<Entry> highs_; // values falling from front to back
    std::deque<Entry> lows_;  // values rising from front to back
    uint16_t largest_ = 0;
};

} // namespace orvane::signal

#endif
