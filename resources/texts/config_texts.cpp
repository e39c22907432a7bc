// Texts of ours in the config area (ids 100-199), German and English.
#include "resources/texts/config_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 0> kTexts{{}};

} // namespace

std::span<const TextEntry> configTexts() {
    return kTexts;
}

} // namespace orvane
