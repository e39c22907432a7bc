#include "console/core/console_exchange.h"

#include <algorithm>
#include <optional>
#include <span>

#include "console/core/console_request.h"
#include "report/exchange.h"
#include "report/report_text.h"

namespace orvane::console {

namespace {

// Report lengths are at least the report id byte when shown.
std::span<const uint8_t> shownBytes(const report::ReportBuffer& buffer, int length) {
    return std::span<const uint8_t>(buffer).first(
        static_cast<std::size_t>(std::clamp<int>(length, 1, report::kReportBufferSize)));
}

} // namespace

ConsoleOutcome runConsoleExchange(report::ReportPort& port, const report::ReportBuffer& output,
                                  int attempts, ConsoleLengths lengths, AnswerRule rule) {
    ConsoleOutcome outcome;
    outcome.requestId = output[0];
    report::ReportBuffer input{};
    outcome.drained = report::drainQueued(port, input);
    input.fill(0);
    outcome.written = port.write(output);
    const bool writeComplete = outcome.written == lengths.output;
    // A port given a longer answer bound than the default (a slow interface) waits each try
    // as much longer.
    const auto tryWait = std::max(kTryWait, kTryWait * port.answerTimeout().count() /
                                                report::kDefaultAnswerTimeout.count());
    const auto inputBytes = std::span<uint8_t>(input).first(
        static_cast<std::size_t>(std::clamp<int>(lengths.input, 0, report::kReportBufferSize)));

    for (int attempt = 0; attempt < attempts; ++attempt) {
        // Until the answer came, a report with another id than the request's (the
        // interface's joystick stream) is kept but the tries go on for the answer; it is
        // shown only when none comes. Later attempts show whatever comes next. A device
        // that is not one of the interfaces is answered by whatever comes first.
        const bool anyReport = outcome.answered || rule == AnswerRule::FirstReport;
        std::optional<report::ReportBuffer> other;
        bool got = false;
        do {
            if (writeComplete) {
                std::ranges::fill(inputBytes, uint8_t{0});
                // Only a read that returned a report counts, whatever a read that returned
                // nothing or failed left in the buffer.
                const int n = port.readFor(input, tryWait);
                if (n <= 0) std::ranges::fill(inputBytes, uint8_t{0});
                const bool any =
                    n > 0 && std::ranges::any_of(inputBytes, [](uint8_t b) { return b != 0; });
                got = any && (anyReport || input[0] == output[0]);
                if (any && !got) other = input;
            }
            ++outcome.tries;
        } while (!got && outcome.tries < kMaxTries);
        outcome.received = got ? lengths.input : 0;
        outcome.otherShown.reset();
        if (got) {
            outcome.answered = true;
        } else if (other) {
            input = *other;
            outcome.otherShown = input[0];
        }
        outcome.answers.push_back(input);
        outcome.arrived.push_back(got || other.has_value());
    }
    return outcome;
}

std::string txLine(const report::ReportBuffer& output, int outputLength) {
    return "tx: " + report::reportText(shownBytes(output, outputLength)) + std::string(kLineEnd);
}

std::string rxLine(const report::ReportBuffer& input, int inputLength) {
    return "rx: " + report::reportText(shownBytes(input, inputLength)) + std::string(kLineEnd);
}

std::string dataBytesText(const report::ReportBuffer& buffer, int length) {
    return report::reportText(shownBytes(buffer, length).subspan(1));
}

std::string outcomeStatus(const ConsoleOutcome& outcome, int inputLength) {
    std::string status = outcome.written <= 0 ? "Write failed!" : "Write completed successfully! ";
    status += kLineEnd;
    if (outcome.received != inputLength || !outcome.answered)
        status += "Read failed! rdresult " + std::to_string(outcome.received) +
                  ", inputReportLength " + std::to_string(inputLength);
    else
        status += "Read completed successfully!";
    status += kLineEnd;
    if (outcome.otherShown)
        status += "No answer came (no report with report ID " +
                  report::hexByteText(outcome.requestId) + "); shown is the last report read, ID " +
                  report::hexByteText(*outcome.otherShown) + "." + std::string(kLineEnd);
    status += "Write/Read attempts: " + std::to_string(outcome.tries);
    status += kLineEnd;
    return status;
}

} // namespace orvane::console
