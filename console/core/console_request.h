// What the console's write fields and its read-attempts box make of the user's text, and
// what it refuses before anything is sent.
#ifndef ORVANE_CONSOLE_CORE_CONSOLE_REQUEST_H
#define ORVANE_CONSOLE_CORE_CONSOLE_REQUEST_H

#include <optional>
#include <string>
#include <string_view>

#include "report/report_buffer.h"

namespace orvane::console {

// Every line the console writes into its status box ends in CR LF.
inline constexpr std::string_view kLineEnd = "\r\n";

// Answers read after one write at most; each further attempt adds one short wait.
inline constexpr int kMaxReadAttempts = 100;

// The data field is one line: pasted line breaks (CR LF, CR or LF) and tabs each become one
// blank. Several blanks stay as typed: every blank beyond the first adds a 0 byte.
std::string dataFieldText(std::string_view text);

// The read-attempts box: a whole decimal number 1..kMaxReadAttempts, blanks around it allowed.
std::optional<int> parseReadAttempts(std::string_view text);

struct ConsoleRequest {
    report::ReportBuffer output{}; // report id at 0, then the data bytes, zeros after
    int attempts = 0;
    // Empty when the report can be sent; otherwise why not, as the status shows it.
    std::string refusal;
    bool ok() const { return refusal.empty(); }
};

// Builds the output report from the fields. Refuses a report id or data token that is not
// hexadecimal or above FF, more data bytes than the buffer holds, report lengths the
// 101-byte buffers cannot carry and a read-attempts text that is no small positive number.
ConsoleRequest prepareRequest(std::string_view reportIdText, std::string_view dataText,
                              std::string_view attemptsText, int outputReportLength,
                              int inputReportLength);

} // namespace orvane::console

#endif
