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

void UpdateView::operationStopped(const std::string& operation, const StepFailure& failure) {
    appendConsole(operation + " stopped at address (low Endian): 0x" + failure.address + ": " +
                  failure.what + ".\r\n");
}

void UpdateView::byteDiffers(int line, int index, int /*address*/) {
    appendConsole("error at address (low Endian): 0x" + formatAddress(line, index) + "\r\n");
}

void UpdateView::linesDiffer(const std::string& operation, int differing, int compared) {
    const std::string count = std::to_string(differing) + " of " + std::to_string(compared);
    if (operation == "Program")
        appendConsole(count + " lines read back different from the file; the area may not "
                              "have been erased.\r\n");
    else
        appendConsole(count + " lines differ.\r\n");
}

FlashState flashStateAfter(Operation operation, OperationOutcome outcome) {
    if (outcome == OperationOutcome::Completed) return FlashState::AsIntended;
    if (outcome == OperationOutcome::Mismatch) return FlashState::NotTheFile;
    switch (operation) {
    case Operation::Erase:
        return FlashState::PartlyErased;
    case Operation::Program:
        return FlashState::PartlyProgrammed;
    case Operation::Verify:
        return FlashState::Unchecked;
    }
    return FlashState::Unchecked;
}

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
    view_.operationStopped(operation, *failure_);
    return OperationOutcome::Failed;
}

bool BootLoader::readLine(int line, std::span<const std::uint8_t>& data, SendResult& result) {
    if (!command("01 10 " + formatAddress(line, 1), line, 1, result)) return false;
    // The line's 16 bytes are the last 16 of the answer.
    const int dataStart = link_.InputReportLen - static_cast<int>(kLineBytes);
    if (dataStart < static_cast<int>(kReadDataFirst)) {
        failure_ = StepFailure{trimmed(formatAddress(line, 1)), (line - 1) * 16,
                               "the answer is too short to hold a line"};
        return false;
    }
    data = std::span<const std::uint8_t>(result.answer)
               .subspan(static_cast<std::size_t>(dataStart), kLineBytes);
    return true;
}

OperationOutcome BootLoader::compared() {
    view_.setProgress(0);
    if (comparison_.differing == 0) {
        view_.appendConsole("ok.\r\n");
        return OperationOutcome::Completed;
    }
    return OperationOutcome::Mismatch;
}

OperationOutcome BootLoader::eraseMemory() {
    failure_.reset();
    view_.appendConsole("erasing... ");
    view_.setProgressMaximum(kProgressLines);
    int counter = 0;
    SendResult result;
    for (int line = kFirstLine + 1; line <= kLastLine; line += kLinesPerBlock) {
        // Address 0x200F + 64 k: a byte inside the k-th block. A failure names the block
        // by its start, the address the user can look up.
        if (!command("03 01 " + formatAddress(line, 0), line - 1, 1, result)) return stop("Erase");
        view_.setProgress(counter);
        counter += kLinesPerBlock;
    }
    view_.setProgress(0);
    view_.appendConsole("ok.\r\n");
    return OperationOutcome::Completed;
}

OperationOutcome BootLoader::uploadMemory(const MemoryImage& image) {
    failure_.reset();
    comparison_ = {};
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
        std::span<const std::uint8_t> readBack;
        if (!readLine(line, readBack, result)) return stop("Program");
        ++comparison_.compared;
        if (!std::ranges::equal(readBack, image.line(i))) {
            if (comparison_.differing++ == 0) comparison_.firstAddress = (line - 1) * 16;
        }
        view_.setProgress(++counter);
    }
    if (comparison_.differing > 0)
        view_.linesDiffer("Program", comparison_.differing, comparison_.compared);
    return compared();
}

OperationOutcome BootLoader::verifyMemory(const MemoryImage& image) {
    failure_.reset();
    comparison_ = {};
    view_.appendConsole("verifying... ");
    view_.setProgressMaximum(kProgressLines);
    int counter = 0;
    SendResult result;
    for (int line = kFirstLine; line <= kLastLine; ++line) {
        std::span<const std::uint8_t> data;
        if (!readLine(line, data, result)) return stop("Verify");
        const auto expected = image.line(static_cast<std::size_t>(line - 1));
        ++comparison_.compared;
        if (!std::ranges::equal(data, expected)) {
            // The first differing line's bytes are listed; later lines are only counted.
            if (comparison_.differing++ == 0) {
                comparison_.firstAddress = (line - 1) * 16;
                for (std::size_t k = 0; k < kLineBytes; ++k)
                    if (data[k] != expected[k])
                        view_.byteDiffers(line, static_cast<int>(k) + 1,
                                          (line - 1) * 16 + static_cast<int>(k));
            }
        }
        view_.setProgress(++counter);
    }
    if (comparison_.differing > 0)
        view_.linesDiffer("Verify", comparison_.differing, comparison_.compared);
    return compared();
}

} // namespace orvane::firmware
