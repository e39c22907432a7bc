#include "config/core/command_exchange.h"

#include <algorithm>

#include "report/report_text.h"

namespace orvane::config {

std::string reportBytesText(const report::ReportBuffer& report, int length) {
    const auto count = static_cast<std::size_t>(std::max(length - 1, 0));
    return report::reportText(std::span<const uint8_t>(report).subspan(1, count));
}

std::variant<report::ReportBuffer, RefusedRequest>
buildRequest(std::string_view reportIdText, std::string_view requestText, ReportLengths lengths) {
    if (!report::reportLengthFits(lengths.output) || !report::reportLengthFits(lengths.input)) {
        return RefusedRequest{"Not sent: report lengths of " + std::to_string(lengths.input) +
                              " / " + std::to_string(lengths.output) + " bytes do not fit the " +
                              std::to_string(report::kReportBufferSize) +
                              "-byte report buffers.\r\n"};
    }
    report::ReportBuffer request{};
    const auto id = report::parseHexToken(reportIdText);
    if (!id) {
        return RefusedRequest{"Not sent: report id \"" + std::string(reportIdText.substr(0, 12)) +
                              "\" is above FF.\r\n"};
    }
    request[0] = *id;
    const auto parsed = report::parseReportText(requestText, report::kMaxDataTokens);
    if (!parsed.ok()) return RefusedRequest{"Not sent: " + parsed.error + "\r\n"};
    std::copy(parsed.bytes.begin(), parsed.bytes.end(), request.begin() + 1);
    return request;
}

std::string putLine(const report::ReportBuffer& request, ReportLengths lengths) {
    return "PUT: " + report::hexByteText(request[0]) + " " +
           reportBytesText(request, lengths.output) + "\r\n";
}

CommandOutcome runCommand(report::ReportPort& port, const report::Clock& clock,
                          const report::ReportBuffer& request, ReportLengths lengths,
                          bool filterJoy, Configuration& record, report::ExchangeOptions options) {
    CommandOutcome out;
    out.request = request;
    out.requestText = reportBytesText(request, lengths.output);
    out.putLine = putLine(request, lengths);

    options.outputReportLength = lengths.output;
    options.inputReportLength = lengths.input;
    out.exchange = report::exchange(
        port, clock, request, out.answer,
        [&request](std::span<const uint8_t, report::kReportBufferSize> r) {
            return answersRequest(request, r);
        },
        options);
    out.answered = out.exchange.answered;
    if (out.answered) out.effect = decodeAnswer(out.answer, record);

    if (!(filterJoy && out.answer[0] == kJoystickReportId)) {
        out.getLine = "get: " + report::hexByteText(out.answer[0]) + " " +
                      reportBytesText(out.answer, lengths.input) + "\r\n";
    }
    out.answerText = reportBytesText(out.answer, lengths.input);

    out.status =
        out.exchange.written <= 0 ? "Write failed!\r\n" : "Write completed successfully! \r\n";
    // Only the answer counts as a completed read: other reports that arrived meanwhile
    // (the joystick stream) do not.
    const bool readOk = out.answered && out.exchange.lastRead == lengths.input;
    out.status += readOk ? "Read completed successfully!\r\n" : "Read failed!\r\n";
    out.status += "Write/Read attempts: " + std::to_string(out.exchange.reads) + "\r\n";
    return out;
}

StepOutcome stepOutcome(const CommandOutcome& outcome, ReportLengths lengths) {
    StepOutcome step;
    if (outcome.exchange.written != lengths.output)
        step.status = ExchangeStatus::NotWritten;
    else if (!outcome.answered)
        step.status = ExchangeStatus::NotAnswered;
    else if (isRefusal(outcome.answer))
        step.status = ExchangeStatus::RefusedByInterface;
    step.code = outcome.request[5];
    step.readFailed = outcome.exchange.lastRead < 0;
    if (!outcome.effect.impossible.empty()) {
        std::string items;
        for (const std::string& item : outcome.effect.impossible)
            items += (items.empty() ? "" : ", ") + item;
        step.impossible = "answer " + report::hexByteText(outcome.answer[1]) + " (" + items + ")";
    }
    return step;
}

StepOutcome refusedStep(const RefusedRequest& refused) {
    std::string_view reason = refused.status;
    constexpr std::string_view kPrefix = "Not sent: ";
    if (reason.starts_with(kPrefix)) reason.remove_prefix(kPrefix.size());
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.remove_suffix(1);
    return StepOutcome{ExchangeStatus::Refused, std::string(reason), {}, false};
}

} // namespace orvane::config
