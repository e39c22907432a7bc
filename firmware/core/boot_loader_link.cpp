#include "firmware/core/boot_loader_link.h"

#include <algorithm>
#include <optional>

#include "report/exchange.h"
#include "report/report_text.h"

namespace orvane::firmware {

namespace {

// Token k of the payload (split at every single blank) becomes byte k+1; an empty token is
// 0. Tokens beyond the report are not sent. Empty when a token does not fit in a byte.
std::optional<report::ReportBuffer> buildRequest(std::string_view id, std::string_view payload,
                                                 int outputLength) {
    report::ReportBuffer request{};
    const auto idValue = report::parseHexToken(id);
    if (!idValue) return std::nullopt;
    request[0] = *idValue;
    std::size_t index = 1;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = payload.find(' ', start);
        const std::string_view token = payload.substr(
            start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
        if (index < static_cast<std::size_t>(outputLength)) {
            const auto value = report::parseHexToken(token);
            if (!value) return std::nullopt;
            request[index] = *value;
        }
        ++index;
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    return request;
}

std::string bytesText(const report::ReportBuffer& buffer, int length) {
    if (length <= 1) return {};
    return report::reportText(std::span(buffer).subspan(1, static_cast<std::size_t>(length - 1)));
}

bool lengthUsable(int length) {
    return length >= 1 && report::reportLengthFits(length);
}

} // namespace

std::string describeOutcome(LinkOutcome outcome) {
    switch (outcome) {
    case LinkOutcome::Answered:
        return "answered";
    case LinkOutcome::WriteFailed:
        return "the report could not be written";
    case LinkOutcome::WriteShort:
        return "the report was written only in part";
    case LinkOutcome::NoAnswer:
        return "no answer came";
    case LinkOutcome::DeviceGone:
        return "the device is no longer connected";
    }
    return "unknown failure";
}

BootLoaderLink::BootLoaderLink(report::ReportPort& port, const report::Clock& clock,
                               LinkConsole& console)
    : answerTimeout(port.answerTimeout()), port_(port), clock_(clock), console_(console) {}

SendResult BootLoaderLink::sendReport() {
    SendResult result;
    const int outLength = OutputReportLen;
    const int inLength = InputReportLen;
    // Lengths the 101-byte buffers cannot carry, or a payload token above FF, send nothing.
    std::optional<report::ReportBuffer> request;
    if (lengthUsable(outLength) && report::reportLengthFits(inLength))
        request = buildRequest(OutputReportID, WriteBuffer, outLength);
    if (!request) {
        result.outcome = LinkOutcome::WriteFailed;
        result.written = -1;
        if (reportFailures) console_.replaceConsole("Write failed!\r\n");
        return result;
    }
    result.sent = *request;

    OutputReportID = report::hexByteText(result.sent[0]);
    WriteBuffer = bytesText(result.sent, outLength);
    InputReportID.clear();
    ReadBuffer.clear();

    report::ReportBuffer wire = result.sent;
    for (int i = 2; i < outLength; ++i)
        wire[static_cast<std::size_t>(i)] =
            cipher.encodeLinkByte(wire[static_cast<std::size_t>(i)]);

    // An all-zero report cannot be told from none, so it is no answer.
    const auto nonZero = [inLength](std::span<const uint8_t, report::kReportBufferSize> r) {
        const auto end = r.begin() + std::max(inLength, 0);
        return std::any_of(r.begin(), end, [](uint8_t b) { return b != 0; });
    };
    report::ExchangeOptions options;
    options.outputReportLength = outLength;
    options.inputReportLength = inLength;
    options.timeout = answerTimeout;
    const report::ExchangeResult exchanged =
        report::exchange(port_, clock_, wire, result.answer, nonZero, options);
    result.written = exchanged.written;
    if (exchanged.answered)
        result.outcome = LinkOutcome::Answered;
    else if (exchanged.written <= 0)
        result.outcome = LinkOutcome::WriteFailed;
    else if (!exchanged.writeComplete(options))
        result.outcome = LinkOutcome::WriteShort;
    else if (exchanged.lastRead < 0)
        result.outcome = LinkOutcome::DeviceGone;
    else
        result.outcome = LinkOutcome::NoAnswer;

    if (exchanged.written <= 0 && reportFailures) console_.replaceConsole("Write failed!\r\n");
    if (!result.answered()) {
        result.answer.fill(0);
        if (reportFailures)
            console_.appendConsole("Read failed! rdresult 0, inputReportLength " +
                                   std::to_string(inLength) + "\r\n");
    }
    // The receive chain runs over the zeros of a missing answer too, as the device's does
    // not: the two are out of step until the next probe.
    for (int i = 2; i < inLength; ++i) {
        auto& byte = result.answer[static_cast<std::size_t>(i)];
        byte = cipher.decodeLinkByte(byte);
    }
    InputReportID = report::hexByteText(result.answer[0]);
    ReadBuffer = bytesText(result.answer, inLength);
    if (onExchange) onExchange(*this, result);
    return result;
}

} // namespace orvane::firmware
