#include "config/core/mixer_tables.h"

#include <algorithm>

namespace orvane::config {
namespace {

PanelValue byteValue(int stored) {
    const int shown = std::clamp(stored, 0, 255);
    return {shown, shown == stored};
}

PanelValue signedValue(int stored) {
    // Entries in byte form show their signed meaning; a hand-edited -128..-1 shows as itself
    // but is not in byte form, so it is kept as it is until the user moves the slider.
    const int shown =
        (stored >= 0 && stored <= 255) ? decodeSignedByte(stored) : std::clamp(stored, -128, 127);
    return {shown, encodeSignedByte(shown) == stored};
}

} // namespace

const char* mixerFieldName(MixerField field) {
    switch (field) {
    case MixerField::Assignment:
        return "mixerAssignment";
    case MixerField::Neutral:
        return "neutral";
    case MixerField::Factor:
        return "factor";
    case MixerField::Exponent:
        return "exponent";
    case MixerField::FactorQ:
        return "factorQ";
    case MixerField::ExponentQ:
        return "exponentQ";
    }
    return "";
}

PanelView panelView(const MixerTables& mixers, int mixer) {
    const auto entry = [&](MixerField f) { return int{mixers[f][mixer]}; };
    PanelView view;
    const int assignment = entry(MixerField::Assignment);
    const bool assignmentExact =
        assignment >= 0 && assignment <= 255 && assignment / 16 < 8 && assignment % 16 < 8;
    const int byte = std::clamp(assignment, 0, 255);
    view.source = {std::min(byte / 16 + 1, 8), assignmentExact};
    view.destination = {std::min(byte % 16 + 1, 8), assignmentExact};
    view.neutral = byteValue(entry(MixerField::Neutral));
    view.factor = signedValue(entry(MixerField::Factor));
    view.exponent = byteValue(entry(MixerField::Exponent));
    view.factorQ = signedValue(entry(MixerField::FactorQ));
    view.exponentQ = byteValue(entry(MixerField::ExponentQ));
    return view;
}

} // namespace orvane::config
