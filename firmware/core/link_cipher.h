// The link cipher of the boot loader: every parameter byte of a report is scrambled with a
// byte that chains on the last scrambled byte of the same direction, so both sides stay in
// step only while every report is sent and answered exactly once.
#ifndef ORVANE_FIRMWARE_CORE_LINK_CIPHER_H
#define ORVANE_FIRMWARE_CORE_LINK_CIPHER_H

#include <cstdint>

namespace orvane::firmware {

// Both chains start here after a probe of the boot loader.
inline constexpr std::uint8_t kInitialChain = 0xC6;

class LinkCipher {
public:
    // Scrambles one outgoing byte and advances sendChain.
    std::uint8_t encodeLinkByte(std::uint8_t plain);
    // Unscrambles one incoming byte and advances receiveChain.
    std::uint8_t decodeLinkByte(std::uint8_t scrambled);

    std::uint8_t sendChain() const { return sendChain_; }
    std::uint8_t receiveChain() const { return receiveChain_; }
    void setChains(std::uint8_t chain) { sendChain_ = receiveChain_ = chain; }

private:
    std::uint8_t sendChain_ = 0;
    std::uint8_t receiveChain_ = 0;
};

} // namespace orvane::firmware

#endif
