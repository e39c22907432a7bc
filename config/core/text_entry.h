// Reading of the mixer panel's text boxes: the number at the start of the text, decimal or
// hexadecimal after "&H", blanks skipped, rounded half to even.
#ifndef ORVANE_CONFIG_CORE_TEXT_ENTRY_H
#define ORVANE_CONFIG_CORE_TEXT_ENTRY_H

#include <optional>
#include <string_view>

namespace orvane::config {

// The rounded value of the number at the start of text; text without a number reads as 0.
// Empty when the value does not fit a signed 16-bit integer.
std::optional<int> parseTextEntry(std::string_view text);

} // namespace orvane::config

#endif
