// Texts of ours in the shared area (ids 700-799 to 899), German and English.
#include "resources/texts/shared_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 0> kTexts{{}};

} // namespace

std::span<const TextEntry> sharedTexts() {
    return kTexts;
}

} // namespace orvane
