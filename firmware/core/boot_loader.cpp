#include "firmware/core/boot_loader.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "report/report_text.h"

namespace orvane::firmware {

namespace {

constexpr const char* kReportId = "F9";
constexpr int kFirstLine = 513;   // 0x2000, the first line of the application area
constexpr int kLastLine = 1536;   // 0x5FF0
constexpr int kLinesPerBlock = 4; // 64-byte erase blocks
constexpr int kProgressLines = 1024;
constexpr int kRandomBytes = 20;
constexpr std::size_t kReadDataFirst = 6; // the read command's data: bytes 6 to 21

std::string randomPayload(std::string payload, LinkRandom& random) {
    for (int i = 0; i < kRandomBytes; ++i)
        payload += " " + report::hexByteText(static_cast<std::uint8_t>(random.Rand(0, 255)));
    return payload;
}

std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::vector<std::string> tokens(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string token; in >> token;)
        result.push_back(token);
    return result;
}

} // namespace

std::string formatAddress(int line, int index) {
    const int address = (line - 1) * 16 + (index - 1);
    std::string text;
    for (int shift = 0; shift < 24; shift += 8)
        text += report::hexByteText(static_cast<std::uint8_t>((address >> shift) & 0xFF)) + " ";
    return text;
}

ProbeResult BootLoader::probe(LinkRandom& random) {
    link_.OutputReportID = kReportId;
    link_.WriteBuffer = randomPayload({}, random);
    const SendResult sent = link_.sendReport();
    link_.cipher.setChains(kInitialChain);
    ProbeResult result;
    const auto read = tokens(link_.ReadBuffer);
    // Only a received answer carries a version; the zeros of a missing one do not.
    if (sent.answered() && read.size() >= 7) {
        result.valid = true;
        result.major = read[6];
        result.minor = read[5];
    }
    return result;
}

SendResult BootLoader::start(LinkRandom& random) {
    link_.OutputReportID = kReportId;
    link_.WriteBuffer = randomPayload("FE", random);
    return link_.sendReport();
}

SendResult BootLoader::led() {
    link_.OutputReportID = kReportId;
    link_.WriteBuffer = "32 00 00 00 00 00 00";
    return link_.sendReport();
}

SendResult BootLoader::reset() {
    link_.OutputReportID = kReportId;
    link_.WriteBuffer = "FF 00 00 00 00 00 00";
    return link_.sendReport();
}

bool BootLoader::command(const std::string& payload, int line, int index, SendResult& result) {
    link_.OutputReportID = kReportId;
    link_.WriteBuffer = payload;
    result = link_.sendReport();
    if (result.answered()) return true;
    std::string what = describeOutcome(result.outcome);
    if (result.outcome == LinkOutcome::NoAnswer)
        what += " within " + std::to_string(link_.answerTimeout.count()) + " ms";
    failure_ =
        StepFailure{trimmed(formatAddress(line, index)), (line - 1) * 16 + (index - 1), what};
    return false;
}

OperationOutcome BootLoader::stop(const char* operation) {
    view_.setProgress(0);
    view_.appendConsole(std::string(operation) + " stopped at address (low Endian): 0x" +
                        failure_->address + ": " + failure_->what + ".\r\n");
    return OperationOutcome::Failed;
}

OperationOutcome BootLoader::eraseMemory() {
    failure_.reset();
    view_.appendConsole("erasing... ");
    view_.setProgressMaximum(kProgressLines);
    int counter = 0;
    SendResult result;
    for (int line = kFirstLine + 1; line <= kLastLine; line += kLinesPerBlock) {
        // Address 0x200F + 64 k: a byte inside the k-th block.
        if (!command("03 01 " + formatAddress(line, 0), line, 0, result)) return stop("Erase");
        view_.setProgress(counter);
        counter += kLinesPerBlock;
    }
    view_.setProgress(0);
    view_.appendConsole("ok.\r\n");
    return OperationOutcome::Completed;
}

OperationOutcome BootLoader::uploadMemory(const MemoryImage& image) {
    failure_.reset();
    view_.appendConsole("uploading... ");
    int counter = 0;
    SendResult result;
    for (std::size_t i = 0; i < kImageLines; ++i) {
        if (!image.lineFilled(i)) continue;
        const int line = static_cast<int>(i) + 1;
        const std::string address = formatAddress(line, 1);
        std::string payload = "02 10 " + address;
        for (const std::uint8_t byte : image.line(i))
            payload += report::hexByteText(byte) + " ";
        if (!command(payload, line, 1, result)) return stop("Program");
        view_.setProgress(++counter);
    }
    view_.setProgress(0);
    view_.appendConsole("ok.\r\n");
    return OperationOutcome::Completed;
}

OperationOutcome BootLoader::verifyMemory(const MemoryImage& image) {
    failure_.reset();
    view_.appendConsole("verifying... ");
    view_.setProgressMaximum(kProgressLines);
    bool allEqual = true;
    int counter = 0;
    SendResult result;
    // The line's 16 bytes are the last 16 of the answer.
    const int dataStart = link_.InputReportLen - static_cast<int>(kLineBytes);
    for (int line = kFirstLine; line <= kLastLine && allEqual; ++line) {
        if (!command("01 10 " + formatAddress(line, 1), line, 1, result)) return stop("Verify");
        if (dataStart < static_cast<int>(kReadDataFirst)) {
            failure_ = StepFailure{trimmed(formatAddress(line, 1)), (line - 1) * 16,
                                   "the answer is too short to hold a line"};
            return stop("Verify");
        }
        const auto expected = image.line(static_cast<std::size_t>(line - 1));
        for (std::size_t k = 0; k < kLineBytes; ++k) {
            if (result.answer[static_cast<std::size_t>(dataStart) + k] == expected[k]) continue;
            allEqual = false;
            view_.appendConsole("error at address (low Endian): 0x" +
                                formatAddress(line, static_cast<int>(k) + 1) + "\r\n");
        }
        view_.setProgress(++counter);
    }
    view_.setProgress(0);
    if (!allEqual) return OperationOutcome::Mismatch;
    view_.appendConsole("ok.\r\n");
    return OperationOutcome::Completed;
}

} // namespace orvane::firmware
