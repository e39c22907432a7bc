// Tells dropouts (reports the interface never sent) from a reader that was late: the kernel
// keeps the reports that came meanwhile, so a late reader sees a long interval followed by
// a burst of reports read back to back. A long interval counts as a dropout only as far as
// no burst makes up for it.
#ifndef ORVANE_SIGNAL_CORE_DROPOUT_DETECTOR_H
#define ORVANE_SIGNAL_CORE_DROPOUT_DETECTOR_H

#include "signal/core/figures.h"
#include "signal/core/sample.h"

#include <optional>

namespace orvane::signal {

class DropoutDetector {
public:
    DropoutDetector(Duration nominalPeriod, double dropoutFactor);

    // The interval between two consecutive arrivals. Returns a dropout once it is settled:
    // when the burst behind a long interval has ended.
    std::optional<Dropout> interval(TimePoint previous, TimePoint now);
    // The long interval still open at the end of the data, judged as it stands.
    std::optional<Dropout> pending() const;
    void clear();

private:
    std::optional<Dropout> settle() const;

    double periodMs_;
    double factor_;
    std::optional<Dropout> open_; // a long interval, its burst still being counted
    long burst_ = 0;
};

} // namespace orvane::signal

#endif
