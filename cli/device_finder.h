// Finds the interfaces as the main window does: the library's listing, completed by the
// maker's known interfaces that the listing missed, probed by vendor and product id.
#ifndef ORVANE_CLI_DEVICE_FINDER_H
#define ORVANE_CLI_DEVICE_FINDER_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/open_choice.h"

namespace orvane {
class TavrelApi;
}

namespace orvane::cli {

struct FoundDevice {
    int vendorId = 0;
    int productId = 0;
    std::string product;
    std::string manufacturer;
    std::string serialNumber;
    int inputReportLen = 0;
    int outputReportLen = 0;
    bool known = false; // one of the maker's interfaces or its boot loader
    bool listed = true; // false: found by probing its ids
    // The texts that pick it out again: its ids alone for a known interface listed once.
    OpenTexts openBy{true, true, true};
    bool bootLoader() const;
};

std::vector<FoundDevice> findDevices(TavrelApi& tavrel);

enum class Want { Interface, BootLoader, Any };

// selector: empty (the first match), a list position ("2", 1-based over all devices) or a
// serial number.
std::optional<FoundDevice> chooseDevice(const std::vector<FoundDevice>& devices,
                                        std::string_view selector, Want want);

// Opens the device through library object 0 with overlapped reads, a few tries as the
// main window makes them. True when it opened.
bool openDevice(TavrelApi& tavrel, const FoundDevice& device);

} // namespace orvane::cli

#endif
