#include "console/core/console_exchange.h"

#include <algorithm>
#include <optional>
#include <span>

#include "report/exchange.h"
#include "report/report_text.h"

namespace orvane::console {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Report lengths are at least the report id byte when shown.
std::span<const uint8_t> shownBytes(const report::ReportBuffer& buffer, int length) {
    return std::span<const uint8_t>(buffer).first(
        static_cast<std::size_t>(std::clamp<int>(length, 1, report::kReportBufferSize)));
}

} // namespace

ConsoleOutcome runConsoleExchange(report::ReportPort& port, const report::ReportBuffer& output,
                                  int attempts, ConsoleLengths lengths) {
    ConsoleOutcome outcome;
    report::ReportBuffer input{};
    outcome.drained = report::drainQueued(port, input);
    input.fill(0);
    outcome.written = port.write(output);
    const bool writeComplete = outcome.written == lengths.output;
    const auto inputBytes = std::span<uint8_t>(input).first(
        static_cast<std::size_t>(std::clamp<int>(lengths.input, 0, report::kReportBufferSize)));

    bool answered = false;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        // Until the answer came, a report with another id than the request's (the
        // interface's joystick stream) is kept but the tries go on for the answer; it is
        // shown only when none comes. Later attempts show whatever comes next.
        std::optional<report::ReportBuffer> other;
        do {
            if (writeComplete) {
                std::ranges::fill(inputBytes, uint8_t{0});
                port.readFor(input, kTryWait); // a failed read leaves the zeros
                const bool any = std::ranges::any_of(inputBytes, [](uint8_t b) { return b != 0; });
                outcome.received = any ? lengths.input : 0;
                if (any && !answered && input[0] != output[0]) {
                    other = input;
                    outcome.received = 0;
                }
            }
            ++outcome.tries;
        } while (outcome.received != lengths.input && outcome.tries < kMaxTries);
        if (outcome.received == lengths.input) {
            answered = true;
        } else if (other) {
            input = *other;
            outcome.received = lengths.input;
        }
        outcome.answers.push_back(input);
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
    if (outcome.received != inputLength)
        status += "Read failed! rdresult " + std::to_string(outcome.received) +
                  ", inputReportLength " + std::to_string(inputLength);
    else
        status += "Read completed successfully!";
    status += kLineEnd;
    status += "Write/Read attempts: " + std::to_string(outcome.tries);
    status += kLineEnd;
    return status;
}

} // namespace orvane::console
