// Device strings in the library's single-byte form, and the filters that compare them.
#ifndef TAVREL_DEVICE_STRINGS_H
#define TAVREL_DEVICE_STRINGS_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavrel {

// Longest product or manufacturer text (without its NUL); serial numbers are cut shorter.
inline constexpr std::size_t kMaxDeviceText = 49;
inline constexpr std::size_t kMaxSerialText = 19;

// Keeps the low byte of each UTF-16 unit and stops at the first one that is 0 or not an
// ASCII letter or digit, or after maxChars characters: "RC USB" becomes "RC".
std::string shortenDeviceString(std::u16string_view text, std::size_t maxChars = kMaxDeviceText);

// Copies text into a fixed buffer as a NUL-terminated string, cut to fit.
void copyText(std::string_view text, std::span<char> buffer);

// NULL means "no filter" at the C boundary.
inline std::optional<std::string_view> optionalText(const char* text) {
    if (text == nullptr) return std::nullopt;
    return std::string_view(text);
}

// A device as the filters see it: the shortened strings and the ids.
struct DeviceIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string product;
    std::string manufacturer;
    std::string serialNumber;
};

struct DeviceFilter {
    uint32_t vendorId = 0xFFFF; // 0xFFFF or more: any
    uint32_t productId = 0xFFFF;
    std::optional<std::string_view> manufacturer; // absent: any; present: exact match
    std::optional<std::string_view> serialNumber;
    std::optional<std::string_view> product;

    bool matchesProduct(std::string_view shortened) const;
    bool matchesIds(uint16_t vendor, uint16_t product) const;
    // The full serial number, or the first kMaxSerialText characters of it as listed.
    bool matchesSerial(std::string_view serial) const;
    bool matchesSerialAndManufacturer(std::string_view serial, std::string_view maker) const;
    bool matches(const DeviceIdentity& device) const;
};

} // namespace tavrel

#endif
