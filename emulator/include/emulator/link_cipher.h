// The chained byte scrambling of the boot-loader link, seen from the device. The device
// keeps two chaining bytes: receive mirrors the host's send chain, send mirrors the host's
// receive chain. Each direction chains on the last scrambled byte.
#ifndef EMULATOR_LINK_CIPHER_H
#define EMULATOR_LINK_CIPHER_H

#include <cstdint>

namespace emu {

// The value both sides give their chains right after a probe.
inline constexpr uint8_t kInitialChain = 0xC6;

struct LinkCipher {
    uint8_t sendChain = 0;    // for bytes the device sends (answers)
    uint8_t receiveChain = 0; // for bytes the device receives (requests)

    // Scrambles one byte of an answer.
    uint8_t encode(uint8_t plain);
    // Unscrambles one byte of a request.
    uint8_t decode(uint8_t scrambled);
    void reset(uint8_t chain) { sendChain = receiveChain = chain; }
};

} // namespace emu

#endif
