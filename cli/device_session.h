// The device a command works on: found, chosen by --device, checked and opened through
// library object 0; closed again when the session ends.
#ifndef ORVANE_CLI_DEVICE_SESSION_H
#define ORVANE_CLI_DEVICE_SESSION_H

#include <optional>
#include <string_view>

#include "cli/cli.h"
#include "cli/device_finder.h"
#include "cli/exit_codes.h"

namespace orvane::cli {

class DeviceSession {
public:
    // On failure, failure() holds the exit code and a sentence went to services.err.
    DeviceSession(CliServices& services, std::string_view selector, Want want);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    std::optional<ExitCode> failure() const { return failure_; }
    const FoundDevice& device() const { return device_; }

private:
    CliServices& services_;
    FoundDevice device_;
    std::optional<ExitCode> failure_;
    bool open_ = false;
};

// The sentence for a device that was found but does not open; openError is the library's
// reason (GetOpenError), 0 when it does not know.
std::string noAccessMessage(const FoundDevice& device, int openError);

// The sentence for no device found, with what to check: the cable, what orvane-cli list
// sees, the permission fix, a boot loader waiting for an update.
std::string noDeviceMessage(const std::vector<FoundDevice>& devices, std::string_view selector,
                            Want want);

} // namespace orvane::cli

#endif
