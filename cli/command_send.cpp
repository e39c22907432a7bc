// send: one raw report, as the HID console sends it, and the reports that come back.
#include <charconv>
#include <ostream>

#include "app/core/tavrel_api.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "report/exchange.h"
#include "report/report_port.h"
#include "report/report_text.h"

namespace orvane::cli {

namespace {

constexpr const char* kHelp =
    R"(usage: orvane-cli send REPORT_ID "BYTES..." [--reads N] [--device N|SERIAL]

Sends one output report to the interface (report id and data bytes in hexadecimal,
separated by single blanks, as the HID console takes them: "F9" "00 08 15 EE 1C 00 00")
and shows the next N input reports (default 1, at most 50), each waited for up to 100 ms.
Reports queued before the request are read away first. Exit code 5 when nothing came.
)";

constexpr int kMaxReads = 50;

std::optional<int> readCount(const Arguments& a) {
    const auto text = a.value("--reads");
    if (!text) return 1;
    int n = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), n);
    if (ec != std::errc{} || end != text->data() + text->size() || n < 1 || n > kMaxReads)
        return std::nullopt;
    return n;
}

} // namespace

int commandSend(std::span<const std::string> words, CliServices& services) {
    const Arguments a = parseArguments(words, {"--device", "--reads"}, {"--verbose", "--help"});
    if (a.has("--help")) {
        services.out << kHelp;
        return code(ExitCode::Ok);
    }
    if (!a.error.empty() || a.positional.empty() || a.positional.size() > 2) {
        services.err << (a.error.empty() ? "send takes a report id and the data bytes." : a.error)
                     << "\n";
        return code(ExitCode::Usage);
    }
    const auto id = report::parseReportText(a.positional[0], 1);
    const auto data = report::parseReportText(a.positional.size() > 1 ? a.positional[1] : "",
                                              report::kMaxDataTokens);
    const auto reads = readCount(a);
    if (!id.ok() || !data.ok() || !reads) {
        services.err << (!id.ok()     ? "Report id: " + id.error
                         : !data.ok() ? "Data: " + data.error
                                      : std::string("--reads takes a number from 1 to 50."))
                     << "\n";
        return code(ExitCode::Usage);
    }

    DeviceSession session(services, a.value("--device").value_or(""), Want::Any);
    if (const auto failure = session.failure()) return code(*failure);
    const FoundDevice& device = session.device();

    report::ReportBuffer request{};
    request[0] = id.bytes.empty() ? 0 : id.bytes[0];
    std::copy_n(data.bytes.begin(), std::min(data.bytes.size(), report::kMaxDataTokens),
                request.begin() + 1);
    const auto outLen = static_cast<std::size_t>(std::max(device.outputReportLen, 1));
    const auto inLen = static_cast<std::size_t>(std::max(device.inputReportLen, 1));
    services.out << "tx: " << report::reportText(std::span<const uint8_t>(request.data(), outLen))
                 << "\n";

    report::ReportBuffer scratch{};
    report::drainQueued(services.port, scratch);
    const int written = services.port.write(request);
    if (written != device.outputReportLen) {
        services.err << "The report could not be written (result " << written << ").\n";
        return code(ExitCode::NoAnswer);
    }
    int received = 0;
    for (int i = 0; i < *reads; ++i) {
        report::ReportBuffer answer{};
        const int n = services.port.readFor(answer, report::kDefaultAnswerTimeout);
        if (n < 0) {
            services.err << "The device left while its answer was awaited.\n";
            return code(ExitCode::NoAnswer);
        }
        if (n == 0) break;
        ++received;
        services.out << "rx: " << report::reportText(std::span<const uint8_t>(answer.data(), inLen))
                     << "\n";
    }
    if (received == 0) {
        services.err << "No report came back within 100 ms.\n";
        return code(ExitCode::NoAnswer);
    }
    return code(ExitCode::Ok);
}

} // namespace orvane::cli
