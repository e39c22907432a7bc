// The console's send routine: writes the output report, then reads the number of answers
// the user asked for, and the texts that show what happened.
//
// Each try waits for an input report for at most kTryWait and returns as soon as one
// arrives, so a try keeps the meaning it has always had (about a millisecond of waiting)
// without sleeping when the answer is already there (a port whose answer bound was raised
// above the default waits each try that much longer). All attempts share kMaxTries: the
// first attempt tries until an answer comes or the count is used up, each further attempt
// makes at least one try. Reports that were queued before the write are read away first:
// they are not answers to this request. The maker's interfaces answer with the request's
// report id: until that answer came, a report with another id (the joystick stream) does
// not end an attempt, and it is shown only when no answer comes. Other devices may answer
// an output report with an input report of another id, so for them the first report that
// comes is the answer.
#ifndef ORVANE_CONSOLE_CORE_CONSOLE_EXCHANGE_H
#define ORVANE_CONSOLE_CORE_CONSOLE_EXCHANGE_H

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/report_buffer.h"
#include "report/report_port.h"

namespace orvane::console {

inline constexpr std::chrono::milliseconds kTryWait{1};
inline constexpr int kMaxTries = 50;

struct ConsoleLengths {
    int output = 0; // report id included; both fit the report buffers
    int input = 0;
};

// Which report ends an attempt.
enum class AnswerRule {
    RequestId,   // the report with the request's report id (the maker's interfaces)
    FirstReport, // the first report that comes (any other device)
};

struct ConsoleOutcome {
    int written = 0;  // what the write returned
    int tries = 0;    // shared by all attempts
    int received = 0; // input length when the last attempt got its report, else 0
    int drained = 0;  // stale reports read away before the write
    // A read returned a report with the request's id (the answer). Judged by what the reads
    // returned: a read that returned 0 or failed brings no report, whatever its buffer held.
    bool answered = false;
    uint8_t requestId = 0;
    // The id of the report the last attempt shows because no answer came.
    std::optional<uint8_t> otherShown;
    // The input buffer after each attempt, one per attempt; a zero buffer when nothing came.
    std::vector<report::ReportBuffer> answers;
    // One per attempt: a report came (the answer or one shown in its place). Only these
    // attempts have a report to show.
    std::vector<bool> arrived;
};

ConsoleOutcome runConsoleExchange(report::ReportPort& port, const report::ReportBuffer& output,
                                  int attempts, ConsoleLengths lengths,
                                  AnswerRule rule = AnswerRule::RequestId);

// "tx: F9 01 02 03 00 00 00 00 " and CR LF: the whole output report.
std::string txLine(const report::ReportBuffer& output, int outputLength);
// "rx: " and the whole input report, CR LF.
std::string rxLine(const report::ReportBuffer& input, int inputLength);
// Bytes 1 to length - 1, each followed by a blank, as the data fields show them.
std::string dataBytesText(const report::ReportBuffer& buffer, int length);
// "Write completed successfully! ", "Read completed successfully!" or "Read failed! ...",
// (when another report is shown in place of the answer, a line that says so),
// "Write/Read attempts: N", each line ended by CR LF. Success needs the answer itself.
std::string outcomeStatus(const ConsoleOutcome& outcome, int inputLength);

} // namespace orvane::console

#endif
