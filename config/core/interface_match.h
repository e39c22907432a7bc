// Whether the configuration the editor shows is the one the interface holds, and whether
// closing the editor would lose edits. The interface's configuration is known from the last
// Load that read everything or the last Transmit that sent everything; files the user saved
// or read count as kept too.
#ifndef ORVANE_CONFIG_CORE_INTERFACE_MATCH_H
#define ORVANE_CONFIG_CORE_INTERFACE_MATCH_H

#include <optional>

#include "config/core/command_table.h"
#include "config/core/configuration.h"

namespace orvane::config {

// The items the interface keeps, as far as its firmware has them: the axis and button items
// and the boot-loader switch always, the mixers from 1.2 on, the decoding mode from 1.3 on
// (everything when the version is not known). Which option button is on is the editor's own.
bool sameOnInterface(const Configuration& a, const Configuration& b,
                     const std::optional<FirmwareVersion>& firmware = std::nullopt);

class InterfaceMatch {
public:
    // The editor starts showing this, its own defaults: no edit yet.
    explicit InterfaceMatch(const Configuration& shown = {});
    void reset(const Configuration& shown);

    void setFirmware(const FirmwareVersion& version) { firmware_ = version; }
    const std::optional<FirmwareVersion>& firmware() const { return firmware_; }

    // A Load ended. What it read in full is the interface's configuration; a partial read
    // leaves it as it was known. Either way the values read are no edits of the user's,
    // unless there were edits before (before: the record when the Load started).
    void loaded(const Configuration& before, const Configuration& shown, bool complete);
    // A Transmit ended: the interface holds what was sent, or after a partial one a mix.
    void transmitted(const Configuration& sent, bool complete);
    void savedToFile(const Configuration& shown) { file_ = shown; }
    // A settings file was read into the editor (complete: the whole file was read).
    void readFromFile(const Configuration& shown, bool complete);

    // The controls hold what the interface holds: the last complete Load or Transmit and
    // every edit since. While the interface's configuration is unknown (nothing read or
    // sent in full), the controls count as holding it until something changes them.
    bool holdsInterfaceConfiguration(const Configuration& shown) const;
    // Something shown was neither transmitted nor saved to a file, and is no value that a
    // Load or a file brought in: closing would lose it.
    bool wouldLoseEdits(const Configuration& shown) const;

private:
    bool same(const Configuration& a, const Configuration& b) const {
        return sameOnInterface(a, b, firmware_);
    }

    std::optional<Configuration> interface_; // the interface's, when known
    std::optional<Configuration> file_;      // the last file saved or read in full
    Configuration sinceLoad_;                // the controls after the last Load
    Configuration settled_;                  // after the last Load or file read
    std::optional<FirmwareVersion> firmware_;
};

} // namespace orvane::config

#endif
