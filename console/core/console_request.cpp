#include "console/core/console_request.h"

#include <algorithm>
#include <charconv>

#include "report/report_text.h"

namespace orvane::console {

namespace {

constexpr std::string_view kNotSent = "Not sent: ";

std::string_view trimmedBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string refusal(std::string_view why) {
    return std::string(kNotSent) + std::string(why) + std::string(kLineEnd);
}

} // namespace

std::string dataFieldText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue; // CR LF: one
        out += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
    }
    return out;
}

std::optional<int> parseReadAttempts(std::string_view text) {
    const std::string_view digits = trimmedBlanks(text);
    if (digits.empty() || digits.size() > 3) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    if (value < 1 || value > kMaxReadAttempts) return std::nullopt;
    return value;
}

ConsoleRequest prepareRequest(std::string_view reportIdText, std::string_view dataText,
                              std::string_view attemptsText, int outputReportLength,
                              int inputReportLength) {
    ConsoleRequest request;
    if (!report::reportLengthFits(outputReportLength) ||
        !report::reportLengthFits(inputReportLength)) {
        request.refusal =
            refusal("report lengths of input " + std::to_string(inputReportLength) +
                    " and output " + std::to_string(outputReportLength) + " bytes do not fit the " +
                    std::to_string(report::kReportBufferSize) + "-byte report buffers.");
        return request;
    }

    // Typed text that is not hexadecimal is refused: read by its leading digits it would be
    // sent as bytes the user never wrote ("hello" as 00).
    // Blanks around the one token of the report id field are no part of it.
    const std::string_view idToken = trimmedBlanks(reportIdText);
    const auto reportId = report::parseHexToken(idToken);
    if (!reportId || !report::isHexToken(idToken)) {
        constexpr std::size_t kShown = 12;
        std::string shown(reportIdText.substr(0, kShown));
        if (reportIdText.size() > kShown) shown += "...";
        request.refusal = refusal("the report ID \"" + shown + "\" is " +
                                  (reportId ? "not hexadecimal." : "above FF."));
        return request;
    }

    constexpr auto kWhole = report::TokenReading::WholeToken;
    const std::string data = dataFieldText(dataText);
    auto parsed = report::parseReportText(data, report::kMaxDataTokens, kWhole);
    // The console writes a full 101-byte report back with a blank after its last byte; that
    // blank's extra 0 byte would lie beyond the buffer and is left out.
    if (!parsed.ok() && !data.empty() && data.back() == ' ') {
        auto withoutLast = report::parseReportText(
            std::string_view(data).substr(0, data.size() - 1), report::kMaxDataTokens, kWhole);
        if (withoutLast.ok()) parsed = std::move(withoutLast);
    }
    if (!parsed.ok()) {
        request.refusal = refusal(parsed.error);
        return request;
    }

    const auto attempts = parseReadAttempts(attemptsText);
    if (!attempts) {
        request.refusal = refusal("Read Attempts must be a whole number from 1 to " +
                                  std::to_string(kMaxReadAttempts) + ".");
        return request;
    }

    request.output[0] = *reportId;
    std::ranges::copy(parsed.bytes, request.output.begin() + 1);
    request.attempts = *attempts;
    return request;
}

} // namespace orvane::console
