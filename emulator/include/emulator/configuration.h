// The interface's configuration: what its EEPROM holds and what the configuration
// protocol reads and writes.
#ifndef EMULATOR_CONFIGURATION_H
#define EMULATOR_CONFIGURATION_H

#include <array>
#include <cstdint>

namespace emu {

using Bytes8 = std::array<uint8_t, 8>;

struct Configuration {
    Bytes8 axisChannel{1, 2, 3, 4, 5, 6, 7, 8}; // R/C channel 1..8 per axis
    uint8_t axisInvert = 0;                     // bit i: axis i inverted
    Bytes8 buttonChannel{1, 2, 3, 4, 5, 6, 7, 8};
    Bytes8 buttonThreshold{128, 128, 128, 128, 128, 128, 128, 128};
    uint8_t buttonInvert = 0; // bit i: button i inverted
    uint8_t buttonActive = 0; // bit i: button i in use
    uint8_t decodingMode = 0; // 0 PPM, 1 PCM
    bool bootloaderEnable = false;
    // Mixer records, one entry per mixer 1..8, raw bytes (signed values as two's complement).
    Bytes8 mixerAssignment{};
    Bytes8 neutral{};
    Bytes8 factor{};
    Bytes8 exponent{};
    Bytes8 factorQ{};
    Bytes8 exponentQ{};

    bool operator==(const Configuration&) const = default;
};

} // namespace emu

#endif
