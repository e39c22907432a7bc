// The boot loader's command sequences over the link: probe and start, erase, program and
// verify of the application area, LED and reset. The boot loader promises only the probe's
// version and the read command's data; every other answer is read but not examined. An
// operation stops at the first exchange that failed (the write failed, no answer came, the
// device left): after a lost report the two link chains are out of step, so the next
// report's first scrambled byte (an erase or write count) would reach the device garbled,
// and whether the lost command was carried out is unknown. Verify compares the whole area
// by value: it is what proves the flash.
#ifndef ORVANE_FIRMWARE_CORE_BOOT_LOADER_H
#define ORVANE_FIRMWARE_CORE_BOOT_LOADER_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "firmware/core/boot_loader_link.h"
#include "firmware/core/link_random.h"
#include "firmware/core/memory_image.h"

namespace orvane::firmware {

// Exchanges of a full erase: one per 64-byte block of the application area.
inline constexpr int kEraseBlocks = 256;

struct StepFailure;

// Address of entry (line, index), both counted from 1, as three bytes, low byte first,
// each as two digits and a blank.
std::string formatAddress(int line, int index);

// The console and the progress bar of an operation. The dialog writes the console's lines
// as they are below; the command line says the same in its own words, once per event.
class UpdateView : public LinkConsole {
public:
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgress(int value) = 0;
    // An exchange failed and the operation stops.
    virtual void operationStopped(const std::string& operation, const StepFailure& failure);
    // A byte of the first line that differs from the image (address as a number).
    virtual void byteDiffers(int line, int index, int address);
    // The end of a comparison that found lines different from the image.
    virtual void linesDiffer(const std::string& operation, int differing, int compared);
};

struct ProbeResult {
    bool valid = false; // an answer came that holds a version
    std::string major;  // two hexadecimal digits each
    std::string minor;
};

// Why an operation stopped.
struct StepFailure {
    std::string address;  // formatAddress text of the failed command, without its last blank
    int addressValue = 0; // the same address as a number
    std::string what;
};

enum class OperationOutcome { Completed, Mismatch, Failed };
enum class Operation { Erase, Program, Verify };

// What the application area may hold after an operation that did not complete, so that
// the user is told what to run before resetting the interface.
enum class FlashState {
    AsIntended,       // the operation completed
    PartlyErased,     // Erase stopped
    PartlyProgrammed, // Program stopped
    NotTheFile,       // Program or Verify found lines that differ from the file
    Unchecked,        // Verify stopped before it compared the whole area
};
FlashState flashStateAfter(Operation operation, OperationOutcome outcome);

// Lines compared by the last Program (read back) or Verify.
struct Comparison {
    int compared = 0;
    int differing = 0;
    int firstAddress = -1; // of the first differing line, -1 when none differed
};

class BootLoader {
public:
    BootLoader(BootLoaderLink& link, UpdateView& view) : link_(link), view_(view) {}

    // Probes with random bytes under the chains as they stand, then sets both chains to the
    // initial byte, so that the next exchange starts in step with the device.
    ProbeResult probe(LinkRandom& random);
    SendResult start(LinkRandom& random);

    // Each writes its console lines ("erasing... " ... "ok.") and moves the progress bar;
    // a failure line instead of "ok." when an exchange failed.
    OperationOutcome eraseMemory();
    // Writes each filled line and reads it back: programming only clears bits, so a line
    // written over one that was not erased holds something else. "ok." only when every
    // line reads back as written; otherwise Mismatch, with the count of lines that differ.
    OperationOutcome uploadMemory(const MemoryImage& image);
    // Compares the whole application area; the first differing line's bytes are listed,
    // the rest are counted.
    OperationOutcome verifyMemory(const MemoryImage& image);

    SendResult led();
    SendResult reset();

    const std::optional<StepFailure>& lastFailure() const { return failure_; }
    const Comparison& lastComparison() const { return comparison_; }

private:
    // Sends payload under report id F9; false (and the failure noted) when the exchange
    // failed. What the answer holds is not judged here.
    bool command(const std::string& payload, int line, int index, SendResult& result);
    OperationOutcome stop(const char* operation);
    // Reads line back into data; false when the exchange failed.
    bool readLine(int line, std::span<const std::uint8_t>& data, SendResult& result);
    // Ends a comparison: "ok." or the count of differing lines.
    OperationOutcome compared();

    BootLoaderLink& link_;
    UpdateView& view_;
    std::optional<StepFailure> failure_;
    Comparison comparison_;
};

} // namespace orvane::firmware

#endif
