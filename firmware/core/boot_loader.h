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
#include <string>

#include "firmware/core/boot_loader_link.h"
#include "firmware/core/link_random.h"
#include "firmware/core/memory_image.h"

namespace orvane::firmware {

// Exchanges of a full erase: one per 64-byte block of the application area.
inline constexpr int kEraseBlocks = 256;

// The console and the progress bar of an operation.
class UpdateView : public LinkConsole {
public:
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgress(int value) = 0;
};

// Address of entry (line, index), both counted from 1, as three bytes, low byte first,
// each as two digits and a blank.
std::string formatAddress(int line, int index);

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
    OperationOutcome uploadMemory(const MemoryImage& image);
    OperationOutcome verifyMemory(const MemoryImage& image);

    SendResult led();
    SendResult reset();

    const std::optional<StepFailure>& lastFailure() const { return failure_; }

private:
    // Sends payload under report id F9; false (and the failure noted) when the exchange
    // failed. What the answer holds is not judged here.
    bool command(const std::string& payload, int line, int index, SendResult& result);
    OperationOutcome stop(const char* operation);

    BootLoaderLink& link_;
    UpdateView& view_;
    std::optional<StepFailure> failure_;
};

} // namespace orvane::firmware

#endif
