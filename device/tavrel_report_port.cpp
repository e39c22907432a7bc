#include "device/tavrel_report_port.h"

#include <cstdlib>
#include <string>
#include <thread>

#include "device/runtime_failure.h"
#include "device/tavrel_api.h"
#include "report/answer_timeout.h"

namespace orvane {

namespace {
// Pause between overlapped reads when the library cannot wait itself: short, so that an
// answer is seen soon after it arrives.
constexpr auto kPollPause = std::chrono::microseconds{200};
} // namespace

TavrelReportPort::TavrelReportPort(TavrelApi& tavrel, std::function<void(std::string_view)> notice)
    : tavrel_(tavrel), notice_(std::move(notice)) {
    const char* bound = std::getenv(report::kAnswerTimeoutVariable);
    if (bound == nullptr) return;
    if (const auto timeout = report::parseAnswerTimeout(bound)) {
        setAnswerTimeout(*timeout);
    } else if (notice_) {
        notice_(report::answerTimeoutError(report::kAnswerTimeoutVariable, bound) +
                " Answers are awaited " + std::to_string(answerTimeout().count()) + " ms.");
    }
}

int TavrelReportPort::write(std::span<const uint8_t, report::kReportBufferSize> report) {
    return tavrel_.Write(report);
}

int TavrelReportPort::read(std::span<uint8_t, report::kReportBufferSize> report) {
    const int n = tavrel_.Read(report);
    handOn(report, n, std::chrono::steady_clock::now());
    return n;
}

int TavrelReportPort::readFor(std::span<uint8_t, report::kReportBufferSize> report,
                              std::chrono::milliseconds timeout) {
    const int n = waitAndRead(report, timeout);
    handOn(report, n, std::chrono::steady_clock::now());
    return n;
}

int TavrelReportPort::waitAndRead(std::span<uint8_t, report::kReportBufferSize> report,
                                  std::chrono::milliseconds timeout) {
    if (hasReadTimeout_) {
        try {
            return tavrel_.ReadTimeout(report, static_cast<int32_t>(timeout.count()));
        } catch (const RuntimeFailure& failure) {
            if (failure.number() != failure::kEntryPointMissing) throw;
            hasReadTimeout_ = false;
            if (notice_)
                notice_("tavrel has no ReadTimeout: waiting for answers with overlapped reads");
        }
    }
    return readPolling(report, timeout);
}

int TavrelReportPort::readPolling(std::span<uint8_t, report::kReportBufferSize> report,
                                  std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const int n = tavrel_.Read(report);
        if (n != 0 || std::chrono::steady_clock::now() >= deadline) return n;
        std::this_thread::sleep_for(kPollPause);
    }
}

} // namespace orvane
