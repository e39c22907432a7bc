// Hex report text: a report or part of one written as hexadecimal tokens separated by
// single blanks ("00 08 15 EE 03 ").
#ifndef ORVANE_REPORT_REPORT_TEXT_H
#define ORVANE_REPORT_REPORT_TEXT_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::report {

// The value of one token: its leading hexadecimal digits (either case), 0 when it starts
// with anything else. Empty when the value does not fit in a byte.
std::optional<uint8_t> parseHexToken(std::string_view token);

// Every character a hexadecimal digit (either case); the empty token (0) passes too.
bool isHexToken(std::string_view token);

// How a token with other characters is read: by its leading digits ("1G" is 1, "hello" 0),
// as the report text has always been read, or refused, where typed input would otherwise be
// sent as bytes the user never wrote.
enum class TokenReading { LeadingDigits, WholeToken };

struct ParsedReportText {
    std::vector<uint8_t> bytes;
    // Empty when every token was read; otherwise what was refused, as one sentence.
    std::string error;
    bool ok() const { return error.empty(); }
};

// Splits at every blank (two blanks in a row make an empty token, which reads as 0) and
// reads each token with parseHexToken. Refuses a token above FF, more than maxTokens tokens
// and, with TokenReading::WholeToken, a token that is not hexadecimal; on refusal bytes is
// empty.
ParsedReportText parseReportText(std::string_view text, std::size_t maxTokens,
                                 TokenReading reading = TokenReading::LeadingDigits);

// One byte as two upper-case hexadecimal digits ("0A").
std::string hexByteText(uint8_t value);

// Each byte as hexByteText followed by one blank: "F9 00 08 ".
std::string reportText(std::span<const uint8_t> bytes);

} // namespace orvane::report

#endif
