#include "report/exchange.h"

#include <algorithm>

namespace orvane::report {

int drainQueued(ReportPort& port, std::span<uint8_t, kReportBufferSize> scratch, int limit) {
    int drained = 0;
    while (drained < limit && port.read(scratch) > 0)
        ++drained;
    return drained;
}

ExchangeResult exchange(ReportPort& port, const Clock& clock,
                        std::span<const uint8_t, kReportBufferSize> request,
                        std::span<uint8_t, kReportBufferSize> answer, const AnswerTest& isAnswer,
                        const ExchangeOptions& options) {
    ExchangeResult result;
    if (options.drainFirst) {
        ReportBuffer scratch{};
        result.drained = drainQueued(port, scratch);
    }
    result.written = port.write(request);
    if (!result.writeComplete(options)) return result;

    const auto deadline = clock.now() + options.timeout.value_or(port.answerTimeout());
    while (result.reads < options.maxReads) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock.now());
        const int n = port.readFor(answer, std::max(left, std::chrono::milliseconds{0}));
        ++result.reads;
        result.lastRead = n;
        if (n < 0) break; // the device is gone
        if (n > 0 && isAnswer(answer)) {
            result.answered = true;
            break;
        }
        if (n == 0 || clock.now() >= deadline) break;
    }
    return result;
}

} // namespace orvane::report
