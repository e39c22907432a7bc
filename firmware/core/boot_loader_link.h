// One exchange with the boot loader: sendReport builds the output report from the report
// id and payload texts, scrambles its parameter bytes with the link cipher, writes it,
// waits for the answer within a bound and leaves the answer unscrambled, again as text.
#ifndef ORVANE_FIRMWARE_CORE_BOOT_LOADER_LINK_H
#define ORVANE_FIRMWARE_CORE_BOOT_LOADER_LINK_H

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "firmware/core/link_cipher.h"
#include "report/clock.h"
#include "report/report_buffer.h"
#include "report/report_port.h"

namespace orvane::firmware {

// Where sendReport and the command sequences write for the user.
class LinkConsole {
public:
    virtual ~LinkConsole() = default;
    virtual void replaceConsole(std::string_view text) = 0;
    virtual void appendConsole(std::string_view text) = 0;
};

enum class LinkOutcome {
    Answered,
    WriteFailed, // nothing went out (also a request that could not be built)
    WriteShort,  // only part of the report went out
    NoAnswer,    // nothing came back within the bound
    DeviceGone,  // the device failed while we waited
};

struct SendResult {
    LinkOutcome outcome = LinkOutcome::NoAnswer;
    int written = 0;
    report::ReportBuffer sent{};   // the request before scrambling
    report::ReportBuffer answer{}; // the answer after unscrambling (zeros when none came)
    bool answered() const { return outcome == LinkOutcome::Answered; }
};

// What went wrong in words, for the console.
std::string describeOutcome(LinkOutcome outcome);

class BootLoaderLink {
public:
    BootLoaderLink(report::ReportPort& port, const report::Clock& clock, LinkConsole& console);

    // Report lengths of the opened boot loader, report id included.
    int InputReportLen = 0;
    int OutputReportLen = 0;

    // Before a call: report id and payload as hexadecimal byte texts. After it: the report
    // as sent (before scrambling) and the answer (after unscrambling), two digits and a
    // blank per byte from byte 1 on.
    std::string OutputReportID;
    std::string WriteBuffer;
    std::string InputReportID;
    std::string ReadBuffer;

    LinkCipher cipher;
    std::chrono::milliseconds answerTimeout; // the port's answer bound at first
    // "Write failed!" and "Read failed! ..." per report in the console; off where the
    // caller says what failed in its own words.
    bool reportFailures = true;
    // Told of every exchange once its texts are set (a log of every report, for example).
    std::function<void(const BootLoaderLink&, const SendResult&)> onExchange;

    SendResult sendReport();

private:
    report::ReportPort& port_;
    const report::Clock& clock_;
    LinkConsole& console_;
};

} // namespace orvane::firmware

#endif
