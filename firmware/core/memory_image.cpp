#include "firmware/core/memory_image.h"

#include <algorithm>
#include <stdexcept>

namespace orvane::firmware {

std::span<const std::uint8_t, kLineBytes> MemoryImage::line(std::size_t index) const {
    if (index >= kImageLines) throw std::out_of_range("memory image line");
    return std::span<const std::uint8_t, kLineBytes>(bytes_.data() + index * kLineBytes,
                                                     kLineBytes);
}

bool MemoryImage::lineFilled(std::size_t index) const {
    const auto bytes = line(index);
    return std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != kNoData; });
}

std::size_t MemoryImage::filledLineCount() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < kImageLines; ++i)
        count += lineFilled(i) ? 1 : 0;
    return count;
}

std::string MemoryImage::entry(std::size_t line, std::size_t index) const {
    if (line < 1 || line > kImageLines || index < 1 || index > kLineBytes)
        throw std::out_of_range("memory image entry");
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::uint8_t b = bytes_[(line - 1) * kLineBytes + (index - 1)];
    return {kDigits[b >> 4], kDigits[b & 0x0F]};
}

} // namespace orvane::firmware
