// config read --json: every item of the configuration by the name its settings file gives it.
#ifndef ORVANE_CLI_CONFIG_READ_JSON_H
#define ORVANE_CLI_CONFIG_READ_JSON_H

#include <iosfwd>
#include <string_view>

namespace orvane::cli {

// settingsText: a whole settings file as written for the configuration. Prints one JSON
// object whose keys are the file's labels in file order, each with its values in order
// ("Slider1": the eight axis channels, ...; "Option1": PPM then PCM selected).
void printSettingsJson(std::string_view settingsText, std::ostream& out);

} // namespace orvane::cli

#endif
