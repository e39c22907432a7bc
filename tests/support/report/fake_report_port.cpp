#include "testreport/fake_report_port.h"

#include <algorithm>

namespace orvane::test {

FakeReportPort::FakeReportPort(FakeClock& clock, int inputLength, int outputLength)
    : clock_(clock), inputLength_(inputLength), outputLength_(outputLength) {}

void FakeReportPort::deliver(Report report, std::chrono::microseconds delay) {
    report.resize(static_cast<std::size_t>(inputLength_), 0);
    pending_.push_back({clock_.now() + delay, std::move(report)});
}

void FakeReportPort::stream(Report report, std::chrono::microseconds period) {
    report.resize(static_cast<std::size_t>(inputLength_), 0);
    streamReport_ = std::move(report);
    streamPeriod_ = period;
    nextStream_ = clock_.now() + period;
}

std::optional<report::Clock::time_point> FakeReportPort::nextArrival() const {
    std::optional<report::Clock::time_point> next;
    for (const Pending& p : pending_)
        if (!next || p.readyAt < *next) next = p.readyAt;
    if (streamReport_ && (!next || nextStream_ < *next)) next = nextStream_;
    return next;
}

// Moves every report due by t into the queue, in the order of arrival.
void FakeReportPort::arriveUntil(report::Clock::time_point t) {
    for (;;) {
        const auto next = nextArrival();
        if (!next || *next > t) return;
        Report arriving;
        if (streamReport_ && nextStream_ == *next) {
            arriving = *streamReport_;
            nextStream_ += streamPeriod_;
        } else {
            const auto it = std::ranges::find_if(
                pending_, [&](const Pending& p) { return p.readyAt == *next; });
            arriving = std::move(it->report);
            pending_.erase(it);
        }
        if (queue_.size() >= queueLimit)
            ++dropped; // a full queue drops the newest
        else
            queue_.push_back(std::move(arriving));
    }
}

int FakeReportPort::write(std::span<const uint8_t, report::kReportBufferSize> report) {
    if (gone()) return -1;
    int result = outputLength_;
    if (!writeResults.empty()) {
        result = writeResults.front();
        writeResults.pop_front();
    }
    if (result != outputLength_) return result;
    Report request(report.begin(), report.begin() + outputLength_);
    written.push_back(request);
    if (onRequest) onRequest(*this, request);
    return result;
}

int FakeReportPort::take(std::span<uint8_t, report::kReportBufferSize> out) {
    const Report report = std::move(queue_.front());
    queue_.pop_front();
    std::ranges::copy(report, out.begin());
    handOn(out, inputLength_, clock_.now());
    return inputLength_;
}

int FakeReportPort::read(std::span<uint8_t, report::kReportBufferSize> report) {
    ++reads;
    if (gone()) return -1;
    arriveUntil(clock_.now());
    return queue_.empty() ? 0 : take(report);
}

int FakeReportPort::readFor(std::span<uint8_t, report::kReportBufferSize> report,
                            std::chrono::milliseconds timeout) {
    ++reads;
    if (gone()) return -1;
    arriveUntil(clock_.now());
    const auto deadline = clock_.now() + timeout;
    while (queue_.empty()) {
        const auto next = nextArrival();
        if (goneAt && *goneAt <= deadline && (!next || *goneAt <= *next)) {
            clock_.advanceTo(*goneAt);
            return -1;
        }
        if (!next || *next > deadline) {
            clock_.advanceTo(deadline);
            return 0;
        }
        clock_.advanceTo(*next);
        arriveUntil(*next); // may meet a full queue and be dropped: wait on
    }
    return take(report);
}

std::function<void(FakeReportPort&, const Report&)>
answerAfter(std::chrono::microseconds latency,
            std::function<std::optional<Report>(const Report& request)> build) {
    return [latency, build = std::move(build)](FakeReportPort& port, const Report& request) {
        if (auto answer = build(request)) port.deliver(std::move(*answer), latency);
    };
}

} // namespace orvane::test
