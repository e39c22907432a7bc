// Settings files (.orv): 200 Windows-1252 text lines with CR LF. Four header lines, then a
// label line and a value line per item.
#ifndef ORVANE_CONFIG_CORE_SETTINGS_FILE_H
#define ORVANE_CONFIG_CORE_SETTINGS_FILE_H

#include <optional>
#include <string>
#include <string_view>

#include "config/core/configuration_snapshot.h"

namespace orvane::config {

inline constexpr std::string_view kSettingsHeader = "Orvane settings file version:";

// The program's own version as it is written into files: "2.3.55".
std::string programVersionText();

// The whole file, Windows-1252 encoded. annotations is UTF-8.
std::string writeSettingsFile(const ConfigurationSnapshot& items, std::string_view annotations);

struct SettingsLoad {
    ConfigurationSnapshot items; // everything read before a failure applied, the rest as it was
    std::string annotations;     // UTF-8; kept as it was when reading stopped before it
    std::string fileVersion;     // UTF-8; empty when reading stopped before it
    // The message to show when reading stopped early; empty when the whole file was read.
    std::optional<std::string> failureMessage;
};

// Does the data begin with the header item of a settings file? The loader itself does not
// check it; this tells a file that is no settings file from a damaged one.
bool hasSettingsHeader(std::string_view data);

// Reads the items of a file into a copy of current. data empty: the file could not be read.
SettingsLoad readSettingsFile(std::optional<std::string_view> data,
                              const ConfigurationSnapshot& current,
                              std::string_view currentAnnotations);

// "File is from different Orvane version ..." when the file's major.minor differs from the
// program's, else "File Read Error"; both followed by CR LF "Settings may be restored
// incompletely".
std::string settingsFailureMessage(std::string_view fileVersion);

} // namespace orvane::config

#endif
