// send: one raw report, as the HID console sends it, and the reports that come back.
#include <algorithm>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "console/core/console_exchange.h"
#include "console/core/console_request.h"
#include "device/known_devices.h"
#include "device/tavrel_api.h"
#include "report/report_text.h"

namespace orvane::cli {

namespace {

constexpr const char* kSendHelp =
    R"(usage: orvane-cli send REPORT_ID "BYTES..." [--reads N] [--device N|SERIAL]

Sends one output report to the interface (report id and data bytes in hexadecimal,
separated by single blanks, as the HID console takes them: "F9" "00 08 15 EE 1C 00 00")
and shows what comes back, as the HID console's Send with N read attempts (default 1, at
most 100; all attempts share 50 tries of about a millisecond). Reports queued before the
request are read away first, and until the answer (a report with the request's id) came,
the interface's joystick reports do not hide it. Exit code 5 when no answer came, 2 for
a report id or byte that is not hexadecimal or above FF.
)";

std::optional<int> readCount(const Arguments& a) {
    const auto text = a.value("--reads");
    return text ? console::parseReadAttempts(*text) : std::optional<int>(1);
}

} // namespace

int commandSend(std::span<const std::string> words, CliServices& services) {
    const Arguments a = parseArguments(words, {"--device", "--reads"}, {"--verbose", "--help"});
    if (a.has("--help")) {
        services.out << kSendHelp;
        return code(ExitCode::Ok);
    }
    // Without data bytes the report would go out as zeros: that is never what was meant.
    std::string wrong = a.error;
    if (wrong.empty() && a.positional.size() > 2)
        wrong = "send takes the data bytes as one argument, in quotes.";
    else if (wrong.empty() && a.positional.empty())
        wrong = "send needs a report id and data bytes.";
    else if (wrong.empty() && (a.positional.size() == 1 ||
                               a.positional[1].find_first_not_of(' ') == std::string::npos))
        wrong = "send needs the data bytes after the report id.";
    if (!wrong.empty()) {
        services.err << wrong << "\n\n" << kSendHelp;
        return code(ExitCode::Usage);
    }
    // Words that are not hexadecimal are refused, not sent as the zeros their leading digits
    // would make of them.
    constexpr auto kWhole = report::TokenReading::WholeToken;
    const auto id = report::parseReportText(a.positional[0], 1, kWhole);
    const auto data = report::parseReportText(a.positional[1], report::kMaxDataTokens, kWhole);
    const auto reads = readCount(a);
    if (!id.ok() || !data.ok() || !reads) {
        services.err << (!id.ok()     ? "Report id: " + id.error
                         : !data.ok() ? "Data: " + data.error
                                      : std::string("--reads takes a number from 1 to 100."))
                     << "\n";
        return code(ExitCode::Usage);
    }

    DeviceSession session(services, a.value("--device").value_or(""), Want::Any);
    if (const auto failure = session.failure()) return code(*failure);
    const FoundDevice& device = session.device();

    // The console's own send routine: what it waits for, and which report it shows.
    const auto request =
        console::prepareRequest(a.positional[0], a.positional[1], std::to_string(*reads),
                                device.outputReportLen, device.inputReportLen);
    if (!request.ok()) {
        services.err << request.refusal << "\n";
        return code(ExitCode::Usage);
    }
    const console::ConsoleLengths lengths{device.outputReportLen, device.inputReportLen};
    // The maker's interfaces answer with the request's id; other devices often answer an
    // output report with an input report of another id, so the first report is theirs.
    const auto rule = isKnownDevice(device.vendorId, device.productId)
                          ? console::AnswerRule::RequestId
                          : console::AnswerRule::FirstReport;
    const auto outcome =
        console::runConsoleExchange(services.port, request.output, request.attempts, lengths, rule);
    auto line = [](std::string text) {
        std::erase(text, '\r');
        return text;
    };
    services.out << line(console::txLine(request.output, lengths.output));
    if (outcome.written != lengths.output) {
        services.err << "The report could not be written (result " << outcome.written << ").\n";
        return code(ExitCode::NoAnswer);
    }
    // Only reports that came are shown; an attempt that read nothing says so.
    for (std::size_t i = 0; i < outcome.answers.size(); ++i)
        services.out << (outcome.arrived[i]
                             ? line(console::rxLine(outcome.answers[i], lengths.input))
                             : std::string("rx: (no report came)\n"));
    // Judged by what the reads returned, not by what the buffer holds.
    if (!outcome.answered) {
        services.err << (lengths.input <= 0
                             ? "No answer can come back: the device's input reports are " +
                                   std::to_string(lengths.input) + " bytes long.\n"
                             : "No answer came back (no report with report id " +
                                   report::hexByteText(request.output[0]) + ").\n");
        return code(ExitCode::NoAnswer);
    }
    return code(ExitCode::Ok);
}

} // namespace orvane::cli
