// Texts of ours in the console area (ids 500-599), German and English.
#include "resources/texts/console_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 1> kConsoleTexts{{
    {text_id::kNoReportCame, "(kein Report gekommen)", "(no report came)"},
}};

} // namespace

std::span<const TextEntry> consoleTexts() {
    return kConsoleTexts;
}

} // namespace orvane
