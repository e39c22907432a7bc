// What the firmware dialog asks of the main window while it waits for the boot loader.
#ifndef ORVANE_APP_FIRMWARE_HOST_H
#define ORVANE_APP_FIRMWARE_HOST_H

#include <cstdint>
#include <string>

namespace orvane {

class FirmwareHost {
public:
    virtual ~FirmwareHost() = default;
    // Rebuilds the device list (the index is ignored).
    virtual void Refresh_Click(int16_t index) = 0;
    // Rebuilds the device table; returns the new count.
    virtual int16_t GetDevices() = 0;
    // Product id text of a 0-based slot.
    virtual std::string getProductID(int16_t slot) = 0;
    // index: 1-based; decremented in place to the slot. Opens the device and sets its seven
    // values on the firmware dialog.
    virtual void SetValuesInFirmwareDlg(int16_t& index) = 0;
};

} // namespace orvane

#endif
