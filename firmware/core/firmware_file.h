// Reading and writing whole firmware files.
#ifndef ORVANE_FIRMWARE_CORE_FIRMWARE_FILE_H
#define ORVANE_FIRMWARE_CORE_FIRMWARE_FILE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace orvane::firmware {

// The interface holds 24 KiB; a HEX file of that is under 70 KiB. Anything beyond this is
// no firmware and is refused before it is read.
inline constexpr std::size_t kMaxFirmwareFileSize = 4 * 1024 * 1024;

struct FileFailure {
    std::string description; // e.g. "Permission denied"
};

// True when the file's length can be read.
bool fileExists(const std::string& name);

std::variant<std::string, FileFailure> readFirmwareFile(const std::string& path);

// Writes the data to a temporary file beside path and renames it over path, so that a
// failed write never leaves half a file and keeps an earlier file of that name.
std::optional<FileFailure> writeFileReplacing(const std::string& path, std::string_view data);

} // namespace orvane::firmware

#endif
