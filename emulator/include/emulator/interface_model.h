// The interface in normal mode: the device side of the configuration protocol.
//
// Requests are output reports F9 00 08 15 EE code v1 v2; reports with another id or
// prefix are ignored. Answers are input reports F9 code d0..d5 (rest 0):
// - read codes 10-1F, A0, A1: the data bytes as the configuration dialog decodes them
//   (channel numbers packed two per byte, low nibble first; flags as bit lists);
// - 1C: major, minor, revision high byte, revision low byte;
// - write codes (02-07, 20-38) and mode commands (01, FF 00, FF 01): an acknowledgement
//   F9 code v1 v2 that echoes the request;
// - a refused command: F9 EE code v1 v2. Refused are unknown codes, codes the firmware
//   version lacks (1.1: mixers and decoding mode; 1.2: decoding mode), values out of range,
//   and every command except 01 and the reads while programming mode is off.
// Writes change the working configuration; FF 01 makes it the stored one. With the
// boot-loader switch stored on, FF 01 also restarts the device into the boot loader.
#ifndef EMULATOR_INTERFACE_MODEL_H
#define EMULATOR_INTERFACE_MODEL_H

#include "emulator/bus.h"
#include "emulator/configuration.h"
#include "emulator/reply.h"

#include <array>
#include <cstdint>
#include <span>

namespace emu {

inline constexpr uint8_t kConfigReportId = 0xF9;
inline constexpr uint8_t kRefused = 0xEE;

struct InterfaceState {
    Configuration working; // what the device runs with
    Configuration stored;  // its EEPROM; the working one starts as this at plug-in
    bool programmingMode = false;
};

class InterfaceModel {
public:
    explicit InterfaceModel(FirmwareVersion fw) : fw_(fw) {}

    // report: a whole output report, report id first, already padded to its length.
    Reply handle(std::span<const uint8_t> report);
    // Power-up: the working configuration is loaded from storage.
    void plugIn();
    // Power lost (the device left the bus): what it only ran is gone, as at the next
    // power-up.
    void powerOff();

    InterfaceState& state() { return state_; }
    const InterfaceState& state() const { return state_; }

private:
    bool write(uint8_t code, uint8_t v1, uint8_t v2);
    std::array<uint8_t, 6> read(uint8_t code) const;

    FirmwareVersion fw_;
    InterfaceState state_;
};

} // namespace emu

#endif
