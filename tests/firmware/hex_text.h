// Writes Intel HEX records for the tests, checksum included.
#ifndef ORVANE_TESTS_FIRMWARE_HEX_TEXT_H
#define ORVANE_TESTS_FIRMWARE_HEX_TEXT_H

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orvane::test {

inline std::string hexRecord(std::uint16_t address, std::uint8_t type,
                             const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(data.size()),
                                    static_cast<std::uint8_t>(address >> 8),
                                    static_cast<std::uint8_t>(address), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (auto b : bytes)
        sum += b;
    bytes.push_back(static_cast<std::uint8_t>(0x100 - (sum & 0xFF)));
    std::string text = ":";
    char pair[3];
    for (auto b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

inline std::string dataRecord(std::uint16_t address, const std::vector<std::uint8_t>& data) {
    return hexRecord(address, 0x00, data) + "\r\n";
}
inline std::string linearBase(std::uint16_t upper) {
    return hexRecord(0, 0x04, {static_cast<std::uint8_t>(upper >> 8),
                               static_cast<std::uint8_t>(upper)}) +
           "\r\n";
}
inline std::string segmentBase(std::uint16_t segment) {
    return hexRecord(0, 0x02, {static_cast<std::uint8_t>(segment >> 8),
                               static_cast<std::uint8_t>(segment)}) +
           "\r\n";
}
inline const std::string kEndRecord = ":00000001FF\r\n";

// n bytes counting up from first.
inline std::vector<std::uint8_t> counting(std::size_t n, std::uint8_t first = 0) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(first + i);
    return v;
}

inline std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace orvane::test

#endif
