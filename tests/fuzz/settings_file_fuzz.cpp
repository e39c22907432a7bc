// Settings files come from wherever the user points the open dialog.
#include "config/core/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using orvane::config::ConfigurationSnapshot;
using orvane::config::readSettingsFile;
using orvane::config::SettingsLoad;
using orvane::config::writeSettingsFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ConfigurationSnapshot current;
    const SettingsLoad load = readSettingsFile(text, current, "kept");
    if (load.failureMessage) return 0;
    // A file read in full is written out again and reads back to the same items.
    const std::string again = writeSettingsFile(load.items, load.annotations);
    const SettingsLoad reread = readSettingsFile(again, current, "");
    if (reread.failureMessage || !(reread.items == load.items)) std::abort();
    return 0;
}
