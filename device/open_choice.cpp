#include "device/open_choice.h"

#include <algorithm>

namespace orvane {

OpenTexts openTexts(bool known, const DeviceTexts& device, std::span<const DeviceTexts> samePair) {
    constexpr OpenTexts all{true, true, true};
    if (!known) return all;
    if (samePair.size() <= 1) return {};
    const auto sameSerial = std::ranges::count_if(samePair, [&](const DeviceTexts& other) {
        return other.serialNumber == device.serialNumber;
    });
    if (!device.serialNumber.empty() && sameSerial == 1) return {false, true, false};
    return all;
}

} // namespace orvane
