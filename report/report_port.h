// An opened device as the windows and the command line see it: one output report out, one
// input report in, and a bounded wait for input. The program's binding of libtavrel
// implements it; tests script their own.
#ifndef ORVANE_REPORT_REPORT_PORT_H
#define ORVANE_REPORT_REPORT_PORT_H

#include <chrono>
#include <span>

#include "report/report_buffer.h"

namespace orvane::report {

// How long an exchange waits for its answer unless told otherwise: real USB answers come
// after a millisecond or a few.
inline constexpr std::chrono::milliseconds kDefaultAnswerTimeout{100};

class ReportPort {
public:
    virtual ~ReportPort() = default;
    // Writes one output report of the device's output length; report[0] is the report id.
    // Returns the bytes written or -1.
    virtual int write(std::span<const uint8_t, kReportBufferSize> report) = 0;
    // Takes one waiting input report, report id first, without waiting: bytes read, 0 when
    // none waits, -1 on failure. Without a report the buffer keeps its contents.
    virtual int read(std::span<uint8_t, kReportBufferSize> report) = 0;
    // The same, but waits up to timeout for a report to arrive, blocking (never spinning).
    virtual int readFor(std::span<uint8_t, kReportBufferSize> report,
                        std::chrono::milliseconds timeout) = 0;

    // The bound of each exchange's wait for its answer over this port. Longer where the
    // device is slow to answer (an interface behind a virtual machine's USB passthrough).
    std::chrono::milliseconds answerTimeout() const { return answerTimeout_; }
    void setAnswerTimeout(std::chrono::milliseconds timeout) { answerTimeout_ = timeout; }

private:
    std::chrono::milliseconds answerTimeout_ = kDefaultAnswerTimeout;
};

} // namespace orvane::report

#endif
