// The interface in boot-loader mode: flash programming over the scrambled link.
//
// Requests: byte 0 report id F9, byte 1 the command (plain), bytes 2..out-1 scrambled.
// Answers: byte 0 F9, byte 1 the command echoed, bytes 2..in-1 scrambled (the zeros
// behind the payload too). Commands (count in byte 2, address in bytes 3..5, low first):
//   00 probe  answer byte 6 minor, byte 7 major boot-loader version
//   FE start  acknowledged
//   01 read   count 1..16 flash bytes; answer echoes bytes 2..5, data in bytes 6..
//   02 write  count 1..16 data bytes from byte 6 into application flash; programming
//             can only clear bits (new = old AND data), as real flash does
//   03 erase  count 64-byte blocks from the block holding the address; erased is FF
//   04 / 05   read / write data EEPROM (256 bytes), same layout
//   06 / 07   read / write configuration memory (16 bytes), same layout
//   32 LED    toggles the LED; answer byte 2 is 1 when it is now on
//   FF reset  acknowledged, then the device restarts in normal mode
// A refused command answers EE in byte 1, the command in byte 2 and the reason in byte 3:
// 1 address outside the allowed area (writes and erases only in 0x2000-0x5FFF, reads in
// 0x0000-0x5FFF), 2 bad count, 3 unknown command. Reports with another id are ignored.
//
// Bare answers (bare_answers=1) carry only what the protocol promises a host: the probe's
// version in bytes 6 and 7 and the read data in bytes 6.., byte 1 zero, nothing echoed;
// every other answer, refusals included, is F9 and zeros (scrambled like any answer).
//
// Chaining. The host's chains are 0 when its firmware dialog loads; it scrambles the
// probe and unscrambles the answer with its chains as they stand and then sets both to
// C6. The device cannot know what a host's chains stand at before a probe, so a probe
// resets the device too: it is unscrambled with receive chain 0 and answered with send
// chain 0 (matching a freshly loaded dialog), and afterwards both chains are C6, mirroring
// the host. From there both sides advance over the same bytes. Should the host's chains
// differ at a probe (a second probe in the same dialog), only the first scrambled byte of
// each direction is garbled, because each byte chains on the previous scrambled byte:
// byte 2 of the probe is random anyway and the version sits in bytes 6 and 7, so it still
// reads correctly, and the exchange after the probe starts from C6 on both sides.
#ifndef EMULATOR_LOADER_MODEL_H
#define EMULATOR_LOADER_MODEL_H

#include "emulator/bus.h"
#include "emulator/link_cipher.h"
#include "emulator/reply.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace emu {

inline constexpr uint8_t kLoaderReportId = 0xF9;
inline constexpr uint8_t kLoaderRefused = 0xEE;
inline constexpr uint32_t kFlashSize = 0x6000;
inline constexpr uint32_t kApplicationStart = 0x2000;
inline constexpr uint32_t kEraseBlock = 64;
inline constexpr uint32_t kEepromSize = 256;
inline constexpr uint32_t kConfigMemorySize = 16;

enum class LoaderCommand : uint8_t {
    Probe = 0x00,
    Read = 0x01,
    Write = 0x02,
    Erase = 0x03,
    ReadEeprom = 0x04,
    WriteEeprom = 0x05,
    ReadConfig = 0x06,
    WriteConfig = 0x07,
    Led = 0x32,
    Start = 0xFE,
    Reset = 0xFF,
};

enum class Refusal : uint8_t { Address = 1, Count = 2, Unknown = 3 };

struct LoaderState {
    std::vector<uint8_t> flash = factoryFlash();
    std::array<uint8_t, kEepromSize> eeprom = filled<kEepromSize>();
    std::array<uint8_t, kConfigMemorySize> configMemory = filled<kConfigMemorySize>();
    LinkCipher link;
    bool led = false;

    // The boot loader and an installed application, as the device leaves the factory.
    static std::vector<uint8_t> factoryFlash();

private:
    template <std::size_t N> static std::array<uint8_t, N> filled() {
        std::array<uint8_t, N> a;
        a.fill(0xFF);
        return a;
    }
};

class LoaderModel {
public:
    LoaderModel(FirmwareVersion version, int inLen) : version_(version), inLen_(inLen) {}

    // report: a whole output report, already padded to the output length.
    Reply handle(std::span<const uint8_t> report);
    // Power-up: chains 0 and LED off.
    void plugIn();
    void setBareAnswers(bool bare) { bareAnswers_ = bare; }

    LoaderState& state() { return state_; }
    const LoaderState& state() const { return state_; }

private:
    std::vector<uint8_t> execute(uint8_t command, std::span<const uint8_t> plain, Reply& reply);

    FirmwareVersion version_;
    int inLen_; // answers are scrambled up to their full length
    bool bareAnswers_ = false;
    LoaderState state_;
};

} // namespace emu

#endif
