#include "signal/core/dropout_detector.h"

#include <cmath>

namespace orvane::signal {

namespace {

// Reports read back to back from the kernel's queue arrive well within a quarter period;
// the host's polling (8 ms for a 10 ms endpoint) never brings them that close.
constexpr double kBurstShare = 0.25;

} // namespace

DropoutDetector::DropoutDetector(Duration nominalPeriod, double dropoutFactor)
    : periodMs_(std::chrono::duration<double, std::milli>(nominalPeriod).count()),
      factor_(dropoutFactor) {}

void DropoutDetector::clear() {
    open_.reset();
    burst_ = 0;
}

std::optional<Dropout> DropoutDetector::settle() const {
    if (!open_) return std::nullopt;
    // The reports of the burst were sent during the long interval.
    const double unexplained = open_->lengthMs - static_cast<double>(burst_) * periodMs_;
    if (unexplained < factor_ * periodMs_) return std::nullopt;
    Dropout d = *open_;
    d.missing = std::lround(unexplained / periodMs_) - 1;
    return d;
}

std::optional<Dropout> DropoutDetector::pending() const {
    return settle();
}

std::optional<Dropout> DropoutDetector::interval(TimePoint previous, TimePoint now) {
    const double ms = std::chrono::duration<double, std::milli>(now - previous).count();
    if (open_ && ms < kBurstShare * periodMs_) {
        ++burst_;
        return std::nullopt;
    }
    std::optional<Dropout> settled = settle();
    open_.reset();
    burst_ = 0;
    if (ms >= factor_ * periodMs_) open_ = Dropout{previous, ms, 0};
    return settled;
}

} // namespace orvane::signal
