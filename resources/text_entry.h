// One text in both languages. The program's own table and the tables of our own texts
// share this shape; a text's English id is its German id + 1000 (the language offset).
#ifndef ORVANE_RESOURCES_TEXT_ENTRY_H
#define ORVANE_RESOURCES_TEXT_ENTRY_H

#include <array>
#include <span>
#include <string_view>

namespace orvane {

struct TextEntry {
    int id;
    std::string_view german;
    std::string_view english;
};

// Texts this project added beyond the program's table, one table per area, each in its own
// block of ids so that areas never share one:
//   100-199 configuration dialog   200-299 firmware dialog      300-399 main window, device
//   400-499 signal scope           500-599 HID console          600-699 command line
//   700-899 shared and earlier texts of ours (outcomes, hot-plug, tooltips)
std::span<const TextEntry> configTexts();
std::span<const TextEntry> firmwareTexts();
std::span<const TextEntry> deviceTexts();
std::span<const TextEntry> signalTexts();
std::span<const TextEntry> consoleTexts();
std::span<const TextEntry> cliTexts();
std::span<const TextEntry> sharedTexts();

// The program's own table (ids 1-67) and every area's table of ours, for a look over all
// texts (the test that no English text of ours shows under German walks them).
std::span<const TextEntry> programTexts();
std::array<std::span<const TextEntry>, 7> ourTextAreas();

} // namespace orvane

#endif
