// The keys of a TAVREL_EMULATOR entry beyond the common ones, read from
// DeviceEntry::extra. parseDeviceList checks them, so reading them here cannot fail.
#ifndef EMULATOR_DEVICE_OPTIONS_H
#define EMULATOR_DEVICE_OPTIONS_H

#include "emulator/bus.h"
#include "emulator/joystick.h"

#include <optional>
#include <string>

namespace emu {

struct DeviceOptions {
    std::optional<Channels> channels;    // channels=a/b/...: fixed R/C positions
    bool silent = false;                 // silent=1: takes requests, never answers
    std::optional<double> unplugAfterMs; // unplug_after_ms=N: leaves the bus N ms after plug-in
    int drop = 0;                        // drop=N: every Nth answer is lost (0: none)
    double rebootMs = 300;               // reboot_ms=N: time off the bus on a mode switch
    double joystickMs = 10;              // joy_ms=N: joystick report period, 0 for none
    int queue = 32;                      // queue=N: reports each open handle buffers
};

// Checks one extra key; returns an error text or nothing.
std::optional<std::string> checkOption(std::string_view key, std::string_view value);
// Reads the extra keys of a parsed entry.
DeviceOptions deviceOptions(const DeviceEntry& entry);

} // namespace emu

#endif
