// Texts of ours in the cli area (ids 600-699), German and English.
#include "resources/texts/cli_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 0> kCliTexts{{}};

} // namespace

std::span<const TextEntry> cliTexts() {
    return kCliTexts;
}

} // namespace orvane
