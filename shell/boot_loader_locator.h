// What the firmware dialog asks of the program while it waits for the boot loader: find it
// among the attached devices and open it.
#ifndef ORVANE_SHELL_BOOT_LOADER_LOCATOR_H
#define ORVANE_SHELL_BOOT_LOADER_LOCATOR_H

#include <optional>

#include "shell/app_context.h"

namespace orvane {

class BootLoaderLocator {
public:
    virtual ~BootLoaderLocator() = default;
    // Lists the attached devices afresh; the 0-based slot of the first one with this
    // product id, none when there is none.
    virtual std::optional<int> findDevice(long productId) = 0;
    // Opens the device of a slot; its seven values, none when it could not be opened.
    virtual std::optional<DeviceValues> openDevice(int slot) = 0;
};

} // namespace orvane

#endif
