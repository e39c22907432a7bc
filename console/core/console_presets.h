// The console's preset buttons: each puts report id F9 and its data text into the write
// fields and sends them as typed. The captions are the buttons' fixed texts.
#ifndef ORVANE_CONSOLE_CORE_CONSOLE_PRESETS_H
#define ORVANE_CONSOLE_CORE_CONSOLE_PRESETS_H

#include <array>
#include <string_view>

namespace orvane::console {

struct ConsolePreset {
    int button; // CommandN
    std::string_view caption;
    std::string_view data;
};

inline constexpr std::string_view kPresetReportId = "F9";

// Command12 sends 67 89 in its last two bytes although its caption shows 00 00: the
// buttons have always sent that.
inline constexpr std::array<ConsolePreset, 11> kConsolePresets{{
    {1, "Read BLVersion F9 00 00 00 00 00 00 00", "00 00 00 00 00 00 00"},
    {2, "Reset F9 FF 00 00 00 00 00 00", "FF 00 00 00 00 00 00"},
    {3, "ReadEE F9 04 02 00 00 00 00 00", "04 02 00 00 00 00 00"},
    {5, "WriteEE F9 05 02 00 00 00 AB CD", "05 02 00 00 00 AB CD"},
    {6, "LED F9 32 00 00 00 00 00 00", "32 00 00 00 00 00 00"},
    {7, "EraseBlock F9 03 01 E0 5F 00 00 00", "03 01 E0 5F 00 00 00"},
    {8, "WriteCFG F9 07 01 00 00 30 30 00", "07 01 00 00 30 30 00"},
    {10, "format", "01 72 5D 0D FE 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 18 A3 00 01"},
    {11, "ReadFL F9 01 02 E0 5F 00 00 00", "01 02 E0 5F 00 00 00"},
    {12, "WriteFl F9 02 02 E0 5F 00 00 00", "02 02 E0 5F 00 67 89"},
    {13, "ReadCFG F9 06 02 00 00 30 00 00", "06 02 00 00 30 00 00"},
}};

} // namespace orvane::console

#endif
