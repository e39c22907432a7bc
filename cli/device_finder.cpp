#include "cli/device_finder.h"

#include <algorithm>
#include <charconv>

#include "device/device_listing.h"
#include "device/known_devices.h"
#include "device/tavrel_api.h"

namespace orvane::cli {

namespace {
constexpr int kOpenTries = 10;
} // namespace

bool FoundDevice::bootLoader() const {
    return known && productId == kBootLoaderProductId;
}

std::vector<FoundDevice> findDevices(TavrelApi& tavrel) {
    tavrel.SetInstance(0);
    std::vector<FoundDevice> devices;
    for (const ListedDevice& e : listDevices(tavrel)) {
        FoundDevice d;
        d.vendorId = e.vendorId;
        d.productId = e.productId;
        d.product = e.product;
        d.manufacturer = e.manufacturer;
        d.serialNumber = e.serialNumber;
        d.inputReportLen = e.inputReportLength;
        d.outputReportLen = e.outputReportLength;
        d.known = isKnownDevice(d.vendorId, d.productId);
        devices.push_back(std::move(d));
    }
    // The listing covers only the first interfaces of the system: probe the known ones.
    for (const KnownDevice& k : knownDeviceTable) {
        const bool listed = std::ranges::any_of(devices, [&](const FoundDevice& d) {
            return d.vendorId == k.vendorId && d.productId == k.productId;
        });
        if (listed) continue;
        if (tavrel.Open(static_cast<uint32_t>(k.vendorId), static_cast<uint32_t>(k.productId),
                        nullptr, nullptr, nullptr, 1) != 1)
            continue;
        FoundDevice d;
        d.vendorId = k.vendorId;
        d.productId = k.productId;
        d.product = productName(k.vendorId, k.productId, k.defaultInputLen);
        d.manufacturer = "Tavrel";
        int32_t in = k.defaultInputLen, out = k.defaultOutputLen;
        tavrel.GetReportLengths(&in, &out);
        d.inputReportLen = in;
        d.outputReportLen = out;
        d.known = true;
        d.listed = false;
        tavrel.CloseRead();
        tavrel.CloseWrite();
        devices.push_back(std::move(d));
    }
    for (FoundDevice& d : devices) {
        std::vector<DeviceTexts> samePair;
        for (const FoundDevice& other : devices)
            if (other.vendorId == d.vendorId && other.productId == d.productId)
                samePair.push_back({other.manufacturer, other.serialNumber, other.product});
        d.openBy = openTexts(d.known, {d.manufacturer, d.serialNumber, d.product}, samePair);
    }
    return devices;
}

std::optional<FoundDevice> chooseDevice(const std::vector<FoundDevice>& devices,
                                        std::string_view selector, Want want) {
    auto wanted = [want](const FoundDevice& d) {
        switch (want) {
        case Want::Interface:
            return d.known && !d.bootLoader();
        case Want::BootLoader:
            return d.bootLoader();
        case Want::Any:
            return true;
        }
        return false;
    };
    if (selector.empty()) {
        for (const FoundDevice& d : devices)
            if (wanted(d)) return d;
        return std::nullopt;
    }
    std::size_t position = 0;
    const auto [end, ec] =
        std::from_chars(selector.data(), selector.data() + selector.size(), position);
    if (ec == std::errc{} && end == selector.data() + selector.size()) {
        if (position >= 1 && position <= devices.size()) return devices[position - 1];
        return std::nullopt;
    }
    for (const FoundDevice& d : devices)
        if (d.serialNumber == selector) return d;
    return std::nullopt;
}

bool openDevice(TavrelApi& tavrel, const FoundDevice& device) {
    tavrel.SetInstance(0);
    for (int i = 0; i < kOpenTries; ++i) {
        if (tavrel.Open(static_cast<uint32_t>(device.vendorId),
                        static_cast<uint32_t>(device.productId),
                        device.openBy.manufacturer ? device.manufacturer.c_str() : nullptr,
                        device.openBy.serialNumber ? device.serialNumber.c_str() : nullptr,
                        device.openBy.product ? device.product.c_str() : nullptr, 1) == 1)
            return true;
    }
    return false;
}

} // namespace orvane::cli
