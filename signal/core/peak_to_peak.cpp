#include "signal/core/peak_to_peak.h"

namespace orvane::signal {

void PeakToPeak::add(TimePoint t, uint16_t value) {
    while (!highs_.empty() && highs_.back().value <= value)
        highs_.pop_back();
    highs_.push_back({t, value});
    while (!lows_.empty() && lows_.back().value >= value)
        lows_.pop_back();
    lows_.push_back({t, value});
    const TimePoint oldest = t - span_;
    while (highs_.front().t < oldest || highs_.size() > maxHeld_)
        highs_.pop_front();
    while (lows_.front().t < oldest || lows_.size() > maxHeld_)
        lows_.pop_front();
    const auto ptp = static_cast<uint16_t>(highs_.front().value - lows_.front().value);
    if (ptp > largest_) largest_ = ptp;
}

void PeakToPeak::clear() {
    highs_.clear();
    lows_.clear();
    largest_ = 0;
}

} // namespace orvane::signal
