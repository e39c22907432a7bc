// Texts of ours in the firmware area (ids 200-299), German and English.
#include "resources/texts/firmware_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 0> kTexts{{}};

} // namespace

std::span<const TextEntry> firmwareTexts() {
    return kTexts;
}

} // namespace orvane
