// Who hears the input reports a report port reads: the joystick stream is not an exchange's
// business, yet the signal scope wants every report of it, even those that an exchange reads
// out of its way. The port hands each report on as its read returns, stamped with that time.
#ifndef ORVANE_REPORT_REPORT_LISTENER_H
#define ORVANE_REPORT_REPORT_LISTENER_H

#include <chrono>
#include <cstdint>
#include <span>

namespace orvane::report {

class ReportListener {
public:
    virtual ~ReportListener() = default;
    // report: the bytes the read returned, report id first. arrival: the monotonic clock as
    // the read returned. Runs on the thread that read; must not read from the port itself.
    virtual void reportArrived(std::span<const uint8_t> report,
                               std::chrono::steady_clock::time_point arrival) = 0;
};

} // namespace orvane::report

#endif
