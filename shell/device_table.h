// The main window's device table: 129 slots of text columns, filled from the library's
// listing and completed by the known interfaces that the listing missed.
#ifndef ORVANE_SHELL_DEVICE_TABLE_H
#define ORVANE_SHELL_DEVICE_TABLE_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/app_context.h"

namespace orvane {

class TavrelApi;
class Trap;

struct DeviceRow {
    std::string deviceName;
    std::string manufacturer;
    std::string serialNumber;
    std::string vendorId; // decimal text; one leading blank when it came from the listing
    std::string productId;
    std::string inputReportLen;
    std::string outputReportLen;
};

// Number as text with the sign position: " 21375" for numbers from the listing.
std::string numberWithSign(long long value);
// Decimal value of a table text: leading blanks skipped, digits up to the first other
// character; 0 when there are none.
long long tableNumber(std::string_view text);

class DeviceTable {
public:
    static constexpr int kSlots = 129;
    static constexpr int kListMax = 128; // entries asked of the library and probe limit
    static constexpr int kTextBufferSize = 50;

    // GetDevices without its log lines: list through the library, then add the known
    // devices it missed. Each statement is trapped; returns the new count.
    int16_t rebuild(TavrelApi& tavrel, const Trap& trap);

    // Opens the device of a slot: a known pair listed once by ids alone (the first such
    // device), a known pair listed more than once by the slot's serial number or texts, any
    // other device by its ids and texts. Throws RuntimeFailure 9 for a slot outside the
    // table.
    int32_t openDeviceAt(TavrelApi& tavrel, int slot) const;

    // The seven values a device window receives. Throws RuntimeFailure 9 outside the table.
    DeviceValues valuesAt(int slot) const;
    const DeviceRow& row(int slot) const; // throws RuntimeFailure 9 outside the table

    int16_t deviceCount() const { return deviceCount_; }
    void setDeviceCount(int16_t count) { deviceCount_ = count; }

    // addKnownDevice: probes one pair and fills slot count when it opens.
    void addKnownDevice(TavrelApi& tavrel, int& count, int vendorId, int productId, int defaultIn,
                        int defaultOut);
    bool isListed(int count, int vendorId, int productId) const;

private:
    std::array<DeviceRow, kSlots> rows_{};
    int16_t deviceCount_ = 0;
    int rowCount_ = 0; // rows the last rebuild filled
};

} // namespace orvane

#endif
