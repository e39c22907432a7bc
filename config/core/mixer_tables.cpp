#include "config/core/mixer_tables.h"

#include <algorithm>

#include "config/core/item_ranges.h"

namespace orvane::config {
namespace {

PanelValue byteValue(int stored) {
    const int shown = kMixerByteRange.clamp(stored);
    return {shown, shown == stored};
}

PanelValue signedValue(int stored) {
    // Entries in byte form show their signed meaning; a hand-edited -128..-1 shows as itself
    // but is not in byte form, so it is kept as it is until the user moves the slider.
    const int shown = kMixerByteRange.contains(stored) ? decodeSignedByte(stored)
                                                       : kMixerSignedRange.clamp(stored);
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
    const bool assignmentExact = kMixerByteRange.contains(assignment) &&
                                 kChannelRange.contains(assignment / 16 + 1) &&
                                 kChannelRange.contains(assignment % 16 + 1);
    const int byte = kMixerByteRange.clamp(assignment);
    view.source = {kChannelRange.clamp(byte / 16 + 1), assignmentExact};
    view.destination = {kChannelRange.clamp(byte % 16 + 1), assignmentExact};
    view.neutral = byteValue(entry(MixerField::Neutral));
    view.factor = signedValue(entry(MixerField::Factor));
    view.exponent = byteValue(entry(MixerField::Exponent));
    view.factorQ = signedValue(entry(MixerField::FactorQ));
    view.exponentQ = byteValue(entry(MixerField::ExponentQ));
    return view;
}

} // namespace orvane::config
