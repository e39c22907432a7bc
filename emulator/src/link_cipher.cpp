#include "emulator/link_cipher.h"

namespace emu {

namespace {
constexpr uint8_t kMask = 0x5D;
constexpr uint8_t kOffset = 0x2B;
} // namespace

uint8_t LinkCipher::encode(uint8_t plain) {
    uint8_t t = static_cast<uint8_t>(sendChain ^ plain);
    t = static_cast<uint8_t>(t + kOffset);
    const auto c = static_cast<uint8_t>(t ^ kMask);
    sendChain = c;
    return c;
}

uint8_t LinkCipher::decode(uint8_t scrambled) {
    uint8_t t = static_cast<uint8_t>(scrambled ^ kMask);
    t = static_cast<uint8_t>(t - kOffset);
    const auto p = static_cast<uint8_t>(t ^ receiveChain);
    receiveChain = scrambled;
    return p;
}

} // namespace emu
