// The eight mixer records, kept as six parallel tables of signed 16-bit entries, and the
// encodings between their stored bytes and what the mixer panel's sliders show.
#ifndef ORVANE_CONFIG_CORE_MIXER_TABLES_H
#define ORVANE_CONFIG_CORE_MIXER_TABLES_H

#include <array>
#include <cstdint>

namespace orvane::config {

inline constexpr int kMixerCount = 8;

// Order of the tables; also the order of their command codes and of the panel's sliders.
enum class MixerField { Assignment, Neutral, Factor, Exponent, FactorQ, ExponentQ };
inline constexpr std::array<MixerField, 6> kMixerFields = {
    MixerField::Assignment, MixerField::Neutral, MixerField::Factor,
    MixerField::Exponent,   MixerField::FactorQ, MixerField::ExponentQ};

// The names the tables go by in settings files.
const char* mixerFieldName(MixerField field);

struct MixerTables {
    std::array<std::array<std::int16_t, kMixerCount>, kMixerFields.size()> tables{};

    std::array<std::int16_t, kMixerCount>& operator[](MixerField f) {
        return tables[static_cast<std::size_t>(f)];
    }
    const std::array<std::int16_t, kMixerCount>& operator[](MixerField f) const {
        return tables[static_cast<std::size_t>(f)];
    }
    bool operator==(const MixerTables&) const = default;
};

// (source - 1) * 16 + (destination - 1), channels 1..8.
constexpr int encodeAssignment(int source, int destination) {
    return (source - 1) * 16 + (destination - 1);
}
// Signed factors travel as their two's-complement byte: -1 is stored as 255.
constexpr int encodeSignedByte(int value) {
    return value < 0 ? value + 256 : value;
}
constexpr int decodeSignedByte(int stored) {
    return stored < 128 ? stored : stored - 256;
}

// What one panel slider shows for a stored entry. A value the slider cannot hold (a channel
// nibble 8..15, a hand-edited entry outside the byte range) is shown clamped; exact then is
// false, and the panel must not write the shown value back unless the user moves the slider.
struct PanelValue {
    int shown = 0;
    bool exact = true;
};

struct PanelView {
    PanelValue source;      // Slider4(0), 1..8
    PanelValue destination; // Slider4(1), 1..8
    PanelValue neutral;     // Slider5, 0..255
    PanelValue factor;      // Slider6, -128..127
    PanelValue exponent;    // Slider7, 0..255
    PanelValue factorQ;     // Slider9, -128..127
    PanelValue exponentQ;   // Slider10, 0..255
};

PanelView panelView(const MixerTables& mixers, int mixer);

} // namespace orvane::config

#endif
