// One request/answer exchange over a report port: reads away what is already queued (the
// kernel keeps at most 63 reports and drops new ones when full, and the interface streams
// a joystick report every 10 ms), writes the request, then waits for the answer within a
// bound, reading other reports out of the way.
#ifndef ORVANE_REPORT_EXCHANGE_H
#define ORVANE_REPORT_EXCHANGE_H

#include <chrono>
#include <functional>
#include <optional>
#include <span>

#include "report/clock.h"
#include "report/report_buffer.h"
#include "report/report_port.h"

namespace orvane::report {

struct ExchangeOptions {
    int outputReportLength = 0; // a write of fewer bytes is a failed write
    int inputReportLength = 0;
    // Bound of the whole wait for the answer after the write; by default the port's.
    std::optional<std::chrono::milliseconds> timeout;
    // Bound of the reads made while waiting, so that a flood of other reports ends too.
    int maxReads = 200;
    bool drainFirst = true;
};

struct ExchangeResult {
    int written = 0;  // what write returned
    int lastRead = 0; // what the last read returned (0 when none was made)
    int reads = 0;    // reads made after the write
    int drained = 0;  // stale reports read away before the write
    bool answered = false;
    // A write that moved the whole report.
    bool writeComplete(const ExchangeOptions& options) const {
        return written == options.outputReportLength;
    }
};

// Is this input report the answer we wait for?
using AnswerTest = std::function<bool(std::span<const uint8_t, kReportBufferSize>)>;

// Reads away queued input reports without waiting; at most limit of them. Returns how many.
int drainQueued(ReportPort& port, std::span<uint8_t, kReportBufferSize> scratch, int limit = 1024);

// answer: receives every report read; holds the answer when answered is set, else the
// last report read (or what it held before when none came).
ExchangeResult exchange(ReportPort& port, const Clock& clock,
                        std::span<const uint8_t, kReportBufferSize> request,
                        std::span<uint8_t, kReportBufferSize> answer, const AnswerTest& isAnswer,
                        const ExchangeOptions& options);

} // namespace orvane::report

#endif
