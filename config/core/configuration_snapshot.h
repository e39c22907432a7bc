// Every configuration item that a settings file holds, taken from the editor's controls and
// put back into them as a whole.
#ifndef ORVANE_CONFIG_CORE_CONFIGURATION_SNAPSHOT_H
#define ORVANE_CONFIG_CORE_CONFIGURATION_SNAPSHOT_H

#include <array>

#include "config/core/mixer_tables.h"

namespace orvane::config {

inline constexpr int kAxisCount = 8;
inline constexpr int kButtonCount = 8;

struct ConfigurationSnapshot {
    std::array<int, kAxisCount> axisChannel{1, 1, 1, 1, 1, 1, 1, 1};     // Slider1, 1..8
    std::array<int, kButtonCount> buttonThreshold{};                     // Slider2, 0..255
    std::array<int, kButtonCount> buttonChannel{1, 1, 1, 1, 1, 1, 1, 1}; // Slider3, 1..8
    std::array<bool, kAxisCount> axisInvert{};                           // Check1
    std::array<bool, kButtonCount> buttonInvert{};                       // Check2
    std::array<bool, kButtonCount> buttonActive{};                       // Check3
    MixerTables mixers;
    std::array<bool, 2> option{}; // Option1(0) "PPM", Option1(1) "ZT 0415 PCM"; both may be off
    int decodingMode = 0;         // 0 PPM, 1 PCM

    bool operator==(const ConfigurationSnapshot&) const = default;
};

} // namespace orvane::config

#endif
