// Value parsing shared by the device list parser and the device options.
#ifndef EMULATOR_TEXT_VALUES_H
#define EMULATOR_TEXT_VALUES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace emu {

// Decimal or 0x hexadecimal, at most max.
std::optional<uint32_t> parseUnsigned(std::string_view text, uint32_t max);
// A finite decimal number from 0 to max, fractions allowed.
std::optional<double> parseMilliseconds(std::string_view text, double max);
// UTF-8 to UTF-16; nothing on malformed input.
std::optional<std::u16string> utf8ToUtf16(std::string_view text);
std::string_view trim(std::string_view text);

} // namespace emu

#endif
