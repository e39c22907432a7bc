// Texts of ours in the signal area (ids 400-499), German and English.
#include "resources/texts/signal_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 0> kTexts{{}};

} // namespace

std::span<const TextEntry> signalTexts() {
    return kTexts;
}

} // namespace orvane
