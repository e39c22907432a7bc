// The memory image that a firmware file is loaded into and that the boot loader programs
// and verifies: the interface's 24 KiB of flash as 1536 lines of 16 bytes (0x0000-0x5FFF).
// Only the application area 0x2000-0x5FFF is ever filled from a file; a byte that holds no
// data reads 0xFF, like erased flash.
#ifndef ORVANE_FIRMWARE_CORE_MEMORY_IMAGE_H
#define ORVANE_FIRMWARE_CORE_MEMORY_IMAGE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orvane::firmware {

inline constexpr std::size_t kLineBytes = 16;
inline constexpr std::size_t kImageLines = 1536;
inline constexpr std::uint32_t kImageSize = kImageLines * kLineBytes; // 0x6000
inline constexpr std::uint32_t kApplicationStart = 0x2000;
inline constexpr std::uint32_t kApplicationEnd = 0x6000; // first address past the area
inline constexpr std::uint8_t kNoData = 0xFF;

class MemoryImage {
public:
    MemoryImage() { bytes_.fill(kNoData); }

    // address below kImageSize.
    std::uint8_t byteAt(std::uint32_t address) const { return bytes_.at(address); }
    void setByte(std::uint32_t address, std::uint8_t value) { bytes_.at(address) = value; }

    // Line i (0-based) holds the addresses i*16 .. i*16+15.
    std::span<const std::uint8_t, kLineBytes> line(std::size_t index) const;
    static std::uint32_t lineAddress(std::size_t index) {
        return static_cast<std::uint32_t>(index * kLineBytes);
    }
    // A line is filled when one of its bytes is other than 0xFF; only filled lines are
    // programmed and verified.
    bool lineFilled(std::size_t index) const;
    std::size_t filledLineCount() const;

    // The dialog's view of an entry: line and index counted from 1, two upper-case digits.
    std::string entry(std::size_t line, std::size_t index) const;

    bool operator==(const MemoryImage&) const = default;

private:
    std::array<std::uint8_t, kImageSize> bytes_{};
};

} // namespace orvane::firmware

#endif
