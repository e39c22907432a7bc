#include "device_strings.h"

#include <algorithm>

namespace tavrel {

namespace {

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool idMatches(uint32_t filter, uint16_t id) {
    return filter >= 0xFFFF || filter == id;
}

bool textMatches(const std::optional<std::string_view>& filter, std::string_view value) {
    return !filter || *filter == value;
}

} // namespace

std::string shortenDeviceString(std::u16string_view text, std::size_t maxChars) {
    std::string out;
    for (char16_t unit : text) {
        if (out.size() >= maxChars) break;
        const auto low = static_cast<unsigned char>(unit & 0xFF);
        if (low == 0 || !isAsciiAlnum(low)) break;
        out.push_back(static_cast<char>(low));
    }
    return out;
}

void copyText(std::string_view text, std::span<char> buffer) {
    if (buffer.empty()) return;
    const std::size_t n = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), n, buffer.begin());
    buffer[n] = '\0';
}

bool DeviceFilter::matchesProduct(std::string_view shortened) const {
    return textMatches(product, shortened);
}

bool DeviceFilter::matchesIds(uint16_t vendor, uint16_t productIdOfDevice) const {
    return idMatches(productId, productIdOfDevice) && idMatches(vendorId, vendor);
}

bool DeviceFilter::matchesSerial(std::string_view serial) const {
    if (textMatches(serialNumber, serial)) return true;
    // The listing hands out a long serial number cut to its first characters; that form
    // must find the device again.
    return serial.size() > kMaxSerialText && *serialNumber == serial.substr(0, kMaxSerialText);
}

bool DeviceFilter::matchesSerialAndManufacturer(std::string_view serial,
                                                std::string_view maker) const {
    return matchesSerial(serial) && textMatches(manufacturer, maker);
}

bool DeviceFilter::matches(const DeviceIdentity& device) const {
    return matchesProduct(device.product) && matchesIds(device.vendorId, device.productId) &&
           matchesSerialAndManufacturer(device.serialNumber, device.manufacturer);
}

} // namespace tavrel
