// The device state kept across processes: a small text file, replaced as a whole on
// every save (written beside it and renamed) so that a reader never sees half of it.
#ifndef EMULATOR_STATE_FILE_H
#define EMULATOR_STATE_FILE_H

#include "device.h"

#include <istream>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace emu {

// Fills the devices from the file. A missing or damaged file changes nothing; a section
// whose kind differs from the device's is skipped.
void loadState(const std::string& path, std::span<const std::unique_ptr<Device>> devices);
void loadState(std::istream& in, std::span<const std::unique_ptr<Device>> devices);
// The file's whole text for the devices as they stand.
std::string stateText(std::span<const std::unique_ptr<Device>> devices);
// Replaces the file with the text: written beside it, then renamed over it.
void writeStateFile(const std::string& path, std::string_view text);

} // namespace emu

#endif
