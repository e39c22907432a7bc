// A device behind a report port, scripted by the test: answers to requests (after a delay,
// lost, duplicated), a stream of other reports, short and failed writes, a device that
// leaves. Time is a FakeClock that moves only when the port is asked to wait, so tests
// never sleep. The input queue holds 63 reports and drops new ones when full, as the Linux
// kernel does (its ring of 64 keeps one slot free).
#ifndef ORVANE_TESTS_FAKE_REPORT_PORT_H
#define ORVANE_TESTS_FAKE_REPORT_PORT_H

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "report/clock.h"
#include "report/report_port.h"

namespace orvane::test {

class FakeClock final : public report::Clock {
public:
    time_point now() const override { return now_; }
    void advance(std::chrono::nanoseconds d) { now_ += d; }
    void advanceTo(time_point t) {
        if (t > now_) now_ = t;
    }

private:
    time_point now_{std::chrono::hours{1}};
};

using Report = std::vector<uint8_t>;

class FakeReportPort final : public report::ReportPort {
public:
    FakeReportPort(FakeClock& clock, int inputLength = 18, int outputLength = 8);

    // Called for every request that was written whole; it answers through deliver().
    std::function<void(FakeReportPort&, const Report& request)> onRequest;
    // Results of the next writes, in order (-1 failed, a short count); empty: whole writes.
    std::deque<int> writeResults;
    // When set, the device is gone from that time on: every call returns -1.
    std::optional<report::Clock::time_point> goneAt;
    std::size_t queueLimit = 63;

    // Puts a report on the way; it becomes readable after the delay.
    void deliver(Report report, std::chrono::microseconds delay = {});
    // From now on a report every period (the joystick stream), until stopStream().
    void stream(Report report, std::chrono::microseconds period);
    void stopStream() { streamReport_.reset(); }
    void leave() { goneAt = clock_.now(); }

    int write(std::span<const uint8_t, report::kReportBufferSize> report) override;
    int read(std::span<uint8_t, report::kReportBufferSize> report) override;
    int readFor(std::span<uint8_t, report::kReportBufferSize> report,
                std::chrono::milliseconds timeout) override;

    // What the test looks at.
    std::vector<Report> written; // whole requests, outputLength bytes each
    int reads = 0;               // read and readFor calls
    int dropped = 0;             // reports lost to a full queue
    int inputLength() const { return inputLength_; }
    int outputLength() const { return outputLength_; }

private:
    struct Pending {
        report::Clock::time_point readyAt;
        Report report;
    };
    bool gone() const { return goneAt && clock_.now() >= *goneAt; }
    void arriveUntil(report::Clock::time_point t);
    std::optional<report::Clock::time_point> nextArrival() const;
    int take(std::span<uint8_t, report::kReportBufferSize> out);

    FakeClock& clock_;
    int inputLength_;
    int outputLength_;
    std::vector<Pending> pending_; // not yet readable, any order
    std::deque<Report> queue_;     // readable
    std::optional<Report> streamReport_;
    std::chrono::microseconds streamPeriod_{};
    report::Clock::time_point nextStream_{};
};

// Answers of a well-behaved device: the report the test builds for a request, after the
// latency; none when build returns nothing.
std::function<void(FakeReportPort&, const Report&)>
answerAfter(std::chrono::microseconds latency,
            std::function<std::optional<Report>(const Report& request)> build);

} // namespace orvane::test

#endif
