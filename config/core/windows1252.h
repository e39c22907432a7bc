// Settings files are Windows-1252 text; the dialog works in UTF-8.
#ifndef ORVANE_CONFIG_CORE_WINDOWS1252_H
#define ORVANE_CONFIG_CORE_WINDOWS1252_H

#include <string>
#include <string_view>

namespace orvane::config {

// Every byte has a character: the five bytes that Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same number, as Windows does.
std::string windows1252ToUtf8(std::string_view bytes);

// Characters outside Windows-1252, and malformed UTF-8, become "?".
std::string utf8ToWindows1252(std::string_view text);

} // namespace orvane::config

#endif
