// The configuration record of an interface: every item the interface keeps, with the
// ranges of item_ranges.h. The editor shows it, the transfers read and fill it, settings
// files are written from it and read into it.
#ifndef ORVANE_CONFIG_CORE_CONFIGURATION_H
#define ORVANE_CONFIG_CORE_CONFIGURATION_H

#include <array>

#include "config/core/item_ranges.h"
#include "config/core/mixer_tables.h"

namespace orvane::config {

inline constexpr int kAxisCount = 8;
inline constexpr int kButtonCount = 8;

struct Configuration {
    std::array<int, kAxisCount> axisChannel{1, 1, 1, 1, 1, 1, 1, 1};     // Slider1, 1..8
    std::array<int, kButtonCount> buttonThreshold{};                     // Slider2, 0..255
    std::array<int, kButtonCount> buttonChannel{1, 1, 1, 1, 1, 1, 1, 1}; // Slider3, 1..8
    std::array<bool, kAxisCount> axisInvert{};                           // Check1
    std::array<bool, kButtonCount> buttonInvert{};                       // Check2
    std::array<bool, kButtonCount> buttonActive{};                       // Check3
    MixerTables mixers;
    std::array<bool, 2> option{}; // Option1(0) "PPM", Option1(1) "ZT 0415 PCM"; both may be off
    int decodingMode = 0;         // 0 PPM, 1 PCM
    // Bootloader_Checkbox: written to the interface, never read from it nor kept in files.
    bool bootloaderEnable = false;

    bool operator==(const Configuration&) const = default;
};

} // namespace orvane::config

#endif
