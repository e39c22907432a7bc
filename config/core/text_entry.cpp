#include "config/core/text_entry.h"

#include <cstdint>
#include <string>

namespace orvane::config {
namespace {

constexpr std::int64_t kLimit = 32768; // beyond the magnitude of any 16-bit value

bool isBlankOrLineEnd(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<int> fitting(std::int64_t value) {
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::optional<int> parseTextEntry(std::string_view text) {
    // Blanks count nowhere in the number, so drop them first: " 1 7" reads as 17.
    std::string chars;
    for (char c : text) {
        if (!isBlankOrLineEnd(c)) chars += c;
    }
    std::size_t pos = 0;

    if (chars.size() >= 2 && chars[0] == '&' && (chars[1] == 'H' || chars[1] == 'h')) {
        std::int64_t value = 0;
        for (pos = 2; pos < chars.size() && hexDigit(chars[pos]) >= 0; ++pos) {
            value = value * 16 + hexDigit(chars[pos]);
            if (value > kLimit) return std::nullopt;
        }
        return fitting(value);
    }

    bool negative = false;
    if (pos < chars.size() && (chars[pos] == '-' || chars[pos] == '+')) {
        negative = chars[pos] == '-';
        ++pos;
    }
    std::int64_t whole = 0;
    for (; pos < chars.size() && isDigit(chars[pos]); ++pos) {
        whole = whole * 10 + (chars[pos] - '0');
        if (whole > kLimit) return std::nullopt;
    }
    // The fraction decides the rounding exactly, digit by digit, so that 2.5 is a true half.
    if (pos < chars.size() && chars[pos] == '.') {
        ++pos;
        const std::size_t first = pos;
        while (pos < chars.size() && isDigit(chars[pos]))
            ++pos;
        const std::string_view fraction(chars.data() + first, pos - first);
        if (!fraction.empty()) {
            const char lead = fraction[0];
            const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
            const bool up = lead > '5' || (lead == '5' && (restNonZero || whole % 2 == 1));
            if (up) ++whole;
        }
    }
    return fitting(negative ? -whole : whole);
}

} // namespace orvane::config
