// The hidraw nodes the kernel has, read from sysfs: ids and the device's strings. Every
// file may vanish while it is read (a device leaving or re-enumerating), so each one is
// read on its own and a node whose files are gone is left out, never a failure.
#ifndef TAVREL_SYSFS_LISTING_H
#define TAVREL_SYSFS_LISTING_H

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backend.h"

namespace tavrel {

// Nodes below classRoot (normally /sys/class/hidraw), as /dev/<node>, ordered by their
// devices' system paths: the HID devices on USB, Bluetooth, I2C and SPI, not virtual ones.
// At most limit of them. Report lengths are left to the caller.
std::vector<DeviceInfo> listHidrawNodes(const std::filesystem::path& classRoot, std::size_t limit);

// UTF-8 text as UTF-16 units; a malformed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

} // namespace tavrel

#endif
