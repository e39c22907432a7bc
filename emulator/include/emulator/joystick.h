// The joystick report the interface sends in normal mode, computed from the R/C channels
// through the configuration.
//
// Layout (18 bytes): byte 0 report id 0x01; bytes 1..16 axes X, Y, Z, Rx, Ry, Rz, Sl, Di as
// unsigned 16-bit little-endian values (channel position 0..255 times 257, so 0..65535);
// byte 17 buttons 1..8 as bits 0..7.
#ifndef EMULATOR_JOYSTICK_H
#define EMULATOR_JOYSTICK_H

#include "emulator/configuration.h"

#include <array>
#include <cstdint>

namespace emu {

inline constexpr uint8_t kJoystickReportId = 0x01;
inline constexpr int kJoystickReportLength = 18;

// Positions 0..255 of R/C channels 1..8 (index 0..7).
using Channels = std::array<uint8_t, 8>;

// Applies the eight mixers. Mixer j (all of its bytes 0 means unused) adds to its
// destination channel, computed from the unmixed source channel with d = source - neutral:
//   linear    factor  * d       / (128 << (exponent  % 8))
//   quadratic factorQ * d * |d| / (32768 << (exponentQ % 8))
// factor and factorQ are signed; the sum is clamped to 0..255.
Channels applyMixers(const Configuration& config, const Channels& raw);

// The whole report for the given unmixed channel positions.
std::array<uint8_t, kJoystickReportLength> joystickReport(const Configuration& config,
                                                          const Channels& raw);

} // namespace emu

#endif
