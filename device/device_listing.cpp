#include "device/device_listing.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orvane {

namespace {

constexpr int kListMax = 128;
using TextBuffer = std::array<char, 50>;

std::string bufferText(const TextBuffer& buffer) {
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

} // namespace

std::vector<ListedDevice> listDevices(TavrelApi& tavrel) {
    std::vector<TextBuffer> texts(kListMax * 3);
    std::vector<DeviceListEntry> entries(kListMax);
    for (int i = 0; i < kListMax; ++i)
        entries[i] = DeviceListEntry{
            texts[3 * i].data(), texts[3 * i + 1].data(), texts[3 * i + 2].data(), 0, 0, 0, 0};
    const int count = std::clamp(tavrel.GetList(TAVREL_ANY_ID, TAVREL_ANY_ID, nullptr, nullptr,
                                                nullptr, entries.data(), kListMax),
                                 0, kListMax);
    std::vector<ListedDevice> devices;
    for (int i = 0; i < count; ++i) {
        const DeviceListEntry& e = entries[i];
        devices.push_back({e.vendorId, e.productId, bufferText(texts[3 * i]),
                           bufferText(texts[3 * i + 1]), bufferText(texts[3 * i + 2]),
                           e.inputReportLength, e.outputReportLength});
    }
    return devices;
}

} // namespace orvane
