#include "firmware/core/link_cipher.h"

namespace orvane::firmware {

namespace {
constexpr std::uint8_t kMask = 0x5D;
constexpr std::uint8_t kOffset = 0x2B;
} // namespace

std::uint8_t LinkCipher::encodeLinkByte(std::uint8_t plain) {
    const auto t = static_cast<std::uint8_t>((sendChain_ ^ plain) + kOffset);
    sendChain_ = static_cast<std::uint8_t>(t ^ kMask);
    return sendChain_;
}

std::uint8_t LinkCipher::decodeLinkByte(std::uint8_t scrambled) {
    const auto t = static_cast<std::uint8_t>((scrambled ^ kMask) - kOffset);
    const auto plain = static_cast<std::uint8_t>(t ^ receiveChain_);
    receiveChain_ = scrambled;
    return plain;
}

} // namespace orvane::firmware
