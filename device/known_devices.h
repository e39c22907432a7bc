// The maker's own interfaces, which the main window probes by vendor and product id when
// the library's listing missed them.
#ifndef ORVANE_DEVICE_KNOWN_DEVICES_H
#define ORVANE_DEVICE_KNOWN_DEVICES_H

#include <array>
#include <string>

namespace orvane {

struct KnownDevice {
    int vendorId;
    int productId;
    int defaultInputLen;
    int defaultOutputLen;
};

// Probed in this order; the first row is the interface in boot-loader mode.
inline constexpr std::array<KnownDevice, 8> knownDeviceTable{{
    {0x5381, 0x640B, 22, 22},
    {0x537F, 0x6405, 10, 8},
    {0x537F, 0x6406, 10, 8},
    {0x537F, 0x6407, 10, 8},
    {0x537F, 0x6408, 10, 8},
    {0x537F, 0x6425, 18, 8},
    {0x537F, 0x6426, 18, 8},
    {0x04E0, 0x0BA0, 10, 0},
}};

inline constexpr int kBootLoaderProductId = 0x640B; // 25611

bool isKnownDevice(int vendorId, int productId);
// Device name of a known device; "Tavrel USB" for any other pair.
std::string productName(int vendorId, int productId, int inputReportLen);

} // namespace orvane

#endif
