// An opened device as the windows and the command line see it: one output report out, one
// input report in, and a bounded wait for input. The program's binding of libtavrel
// implements it; tests script their own. Every report a read returns is also handed to the
// port's listener, if one listens, so that one reader serves both the exchanges and the
// signal scope.
#ifndef ORVANE_REPORT_REPORT_PORT_H
#define ORVANE_REPORT_REPORT_PORT_H

#include <algorithm>
#include <chrono>
#include <span>

#include "report/report_buffer.h"
#include "report/report_listener.h"

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

    // At most one listener; nullptr: none. The listener must outlive its registration.
    void setListener(ReportListener* listener) { listener_ = listener; }
    ReportListener* listener() const { return listener_; }

protected:
    // Implementations call this with what each read returned, as it returned.
    void handOn(std::span<const uint8_t, kReportBufferSize> report, int bytes,
                std::chrono::steady_clock::time_point arrival) const {
        if (listener_ && bytes > 0)
            listener_->reportArrived(
                report.first(std::min(static_cast<std::size_t>(bytes), report.size())), arrival);
    }

private:
    ReportListener* listener_ = nullptr;
    std::chrono::milliseconds answerTimeout_ = kDefaultAnswerTimeout;
};

// Registers a listener for its own lifetime and puts back the one before it.
class ListenerRegistration {
public:
    ListenerRegistration(ReportPort& port, ReportListener& listener)
        : port_(port), previous_(port.listener()) {
        port_.setListener(&listener);
    }
    ~ListenerRegistration() { port_.setListener(previous_); }
    ListenerRegistration(const ListenerRegistration&) = delete;
    ListenerRegistration& operator=(const ListenerRegistration&) = delete;

private:
    ReportPort& port_;
    ReportListener* previous_;
};

} // namespace orvane::report

#endif
