#include "device/known_devices.h"

#include <algorithm>

namespace orvane {

bool isKnownDevice(int vendorId, int productId) {
    return std::ranges::any_of(knownDeviceTable, [&](const KnownDevice& d) {
        return d.vendorId == vendorId && d.productId == productId;
    });
}

std::string productName(int vendorId, int productId, int inputReportLen) {
    if (vendorId == 0x5381 && productId == 0x640B) return "Loader";
    if (vendorId == 0x04E0 && productId == 0x0BA0) return "RC USB";
    if (vendorId == 0x537F) {
        if (productId == 0x6405 || productId == 0x6406) return "ZT0415";
        // The older firmware of this interface has a shorter input report.
        if (productId == 0x6407 || productId == 0x6408)
            return inputReportLen < 18 ? "RC_USB" : "ZT2960";
        if (productId == 0x6425 || productId == 0x6426) return "ZT2960";
    }
    return "Tavrel USB";
}

} // namespace orvane
