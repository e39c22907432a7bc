#include "report/report_text.h"

namespace orvane::report {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string quoted(std::string_view token) {
    constexpr std::size_t kShown = 12;
    std::string shown(token.substr(0, kShown));
    if (token.size() > kShown) shown += "...";
    return "\"" + shown + "\"";
}

} // namespace

std::optional<uint8_t> parseHexToken(std::string_view token) {
    unsigned value = 0;
    for (char c : token) {
        const int digit = hexDigit(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<unsigned>(digit);
        // Stops before a long run of digits could overflow.
        if (value > 0xFF) return std::nullopt;
    }
    return static_cast<uint8_t>(value);
}

bool isHexToken(std::string_view token) {
    for (char c : token)
        if (hexDigit(c) < 0) return false;
    return true;
}

ParsedReportText parseReportText(std::string_view text, std::size_t maxTokens,
                                 TokenReading reading) {
    ParsedReportText result;
    if (text.empty()) return result; // no tokens at all
    std::size_t start = 0;
    for (std::size_t index = 0;; ++index) {
        const std::size_t blank = text.find(' ', start);
        const std::string_view token = text.substr(
            start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
        if (index >= maxTokens) {
            result.bytes.clear();
            result.error = "More than " + std::to_string(maxTokens) +
                           " bytes: the report buffer holds no more.";
            return result;
        }
        if (reading == TokenReading::WholeToken && !isHexToken(token)) {
            result.bytes.clear();
            result.error =
                "Byte " + std::to_string(index + 1) + " " + quoted(token) + " is not hexadecimal.";
            return result;
        }
        const auto value = parseHexToken(token);
        if (!value) {
            result.bytes.clear();
            result.error =
                "Byte " + std::to_string(index + 1) + " " + quoted(token) + " is above FF.";
            return result;
        }
        result.bytes.push_back(*value);
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    return result;
}

std::string hexByteText(uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string reportText(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (uint8_t b : bytes) {
        text += hexByteText(b);
        text += ' ';
    }
    return text;
}

} // namespace orvane::report
