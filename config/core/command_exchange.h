// One command of the configuration protocol as the diagnostic panel runs it: the request
// built from its report id and request texts, the exchange over the report port, the
// answer decoded into the configuration record, and the texts of the log and the status.
#ifndef ORVANE_CONFIG_CORE_COMMAND_EXCHANGE_H
#define ORVANE_CONFIG_CORE_COMMAND_EXCHANGE_H

#include <string>
#include <string_view>
#include <variant>

#include "config/core/command_table.h"
#include "config/core/configuration.h"
#include "config/core/sequence_outcome.h"
#include "report/clock.h"
#include "report/exchange.h"
#include "report/report_buffer.h"
#include "report/report_port.h"

namespace orvane::config {

struct ReportLengths {
    int output = 0; // bytes of every write, report id included
    int input = 0;
};

// What cannot go into the 101-byte buffers is refused before anything is sent.
struct RefusedRequest {
    std::string status; // the status text that says what was refused
};

// The request buffer from the report id text (one hexadecimal token) and the request text
// (byte 1 on). Refuses a token above FF, more than 100 request tokens and report lengths
// that do not fit the buffers.
std::variant<report::ReportBuffer, RefusedRequest>
buildRequest(std::string_view reportIdText, std::string_view requestText, ReportLengths lengths);

struct CommandOutcome {
    report::ReportBuffer request{};
    report::ReportBuffer answer{}; // the answer, or the last report read, or zeros
    report::ExchangeResult exchange;
    bool answered = false;
    std::string requestText; // bytes 1 .. output length - 1, each followed by a blank
    std::string answerText;  // bytes 1 .. input length - 1, each followed by a blank
    std::string putLine;     // "PUT: F9 00 08 ... \r\n"
    std::string getLine;     // "get: ..." or empty when a joystick report is filtered
    std::string status;      // "Write completed successfully! \r\n" ...
    AnswerEffect effect;
};

// Joystick reports (id 0x01) stay out of the log when filterJoy is set.
inline constexpr uint8_t kJoystickReportId = 0x01;

// Bytes 1 .. length - 1 of a report as the panel shows them, each followed by a blank.
std::string reportBytesText(const report::ReportBuffer& report, int length);
// The request line "PUT: ..." alone, for showing before the exchange runs.
std::string putLine(const report::ReportBuffer& request, ReportLengths lengths);

// Sends the request and waits for its answer within options' bound, reading other
// reports out of the way; an answer is decoded into record.
CommandOutcome runCommand(report::ReportPort& port, const report::Clock& clock,
                          const report::ReportBuffer& request, ReportLengths lengths,
                          bool filterJoy, Configuration& record,
                          report::ExchangeOptions options = {});

// How the exchange counts in a sequence: done, not written, not answered or refused by the
// interface; with the answer's values that the interface cannot hold named.
StepOutcome stepOutcome(const CommandOutcome& outcome, ReportLengths lengths);
// A request refused before sending.
StepOutcome refusedStep(const RefusedRequest& refused);

} // namespace orvane::config

#endif
