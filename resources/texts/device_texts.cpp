// Texts of ours in the device area (ids 300-399), German and English.
#include "resources/texts/device_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 0> kDeviceTexts{{}};

} // namespace

std::span<const TextEntry> deviceTexts() {
    return kDeviceTexts;
}

} // namespace orvane
