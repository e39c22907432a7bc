// The range of every configuration item, in one place: the editor's sliders, the settings
// files, the mixer panel and the decoding of the interface's answers all take theirs from
// here.
#ifndef ORVANE_CONFIG_CORE_ITEM_RANGES_H
#define ORVANE_CONFIG_CORE_ITEM_RANGES_H

#include <algorithm>

namespace orvane::config {

struct ItemRange {
    int min;
    int max;
    constexpr bool contains(long value) const { return value >= min && value <= max; }
    constexpr int clamp(int value) const { return std::clamp(value, min, max); }
};

// R/C channels 1..8: axis and button channels, mixer source and destination.
inline constexpr ItemRange kChannelRange{1, 8};
inline constexpr ItemRange kThresholdRange{0, 255};
inline constexpr ItemRange kFlagRange{0, 1}; // inverts, actives, the boot-loader switch
inline constexpr ItemRange kDecodingModeRange{0, 1};
// Mixer entries as the interface and the panel produce them, and as the panel shows the
// signed ones (factor, Q-factor).
inline constexpr ItemRange kMixerByteRange{0, 255};
inline constexpr ItemRange kMixerSignedRange{-128, 127};
// What a mixer entry can hold at all (a hand-edited settings file may go beyond a byte).
inline constexpr ItemRange kMixerEntryRange{-32768, 32767};
// Mixer number on the panel's selector.
inline constexpr ItemRange kMixerNumberRange{1, 8};

} // namespace orvane::config

#endif
