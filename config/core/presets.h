// The one-click presets of the "Load Presets" frame.
#ifndef ORVANE_CONFIG_CORE_PRESETS_H
#define ORVANE_CONFIG_CORE_PRESETS_H

#include <array>

#include "config/core/configuration_snapshot.h"

namespace orvane::config {

using AxisChannels = std::array<int, kAxisCount>;

// Axis channels X, Y, Z, Rx, Ry, Rz, Sl, Di of stick modes 1..4: mode 2 swaps channels 1 and
// 3, mode 3 swaps 2 and 4, mode 4 does both.
inline constexpr std::array<AxisChannels, 4> kStickModes = {{
    {1, 2, 3, 4, 5, 6, 7, 8},
    {3, 2, 1, 4, 5, 6, 7, 8},
    {1, 4, 3, 2, 5, 6, 7, 8},
    {3, 4, 1, 2, 5, 6, 7, 8},
}};

// "RF G2": Z and Di both take channel 4.
inline constexpr AxisChannels kRfG2Channels = {1, 2, 4, 7, 3, 6, 5, 4};
inline constexpr std::array<bool, kAxisCount> kRfG2Invert = {false, true,  true, false,
                                                             false, false, true, false};

struct ButtonPreset {
    std::array<bool, kButtonCount> invert;
    std::array<int, kButtonCount> channel;
    std::array<int, kButtonCount> threshold;
};

// "1st button on 5th channel"; all eight buttons active.
inline constexpr ButtonPreset kFirstButtonOnChannel5 = {
    {false, false, false, false, true, true, true, true},
    {5, 6, 7, 8, 5, 6, 7, 8},
    {162, 162, 162, 162, 95, 95, 95, 95}};

// "1st button on 3rd channel"; all eight buttons active.
inline constexpr ButtonPreset kFirstButtonOnChannel3 = {
    {false, false, false, false, false, true, true, true},
    {3, 5, 6, 7, 8, 5, 6, 7},
    {225, 162, 162, 162, 162, 95, 95, 95}};

} // namespace orvane::config

#endif
