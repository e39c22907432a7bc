#include "firmware/core/firmware_file.h"

#include <sys/stat.h>

#include "files/file_access.h"

// Firmware files are read and written like settings files: a named pipe or a folder is
// refused at once, and a new file replaces the old one only when it was written whole.
namespace orvane::firmware {

namespace {
const FileFailure kTooLarge{"larger than 4 MiB, more than any firmware"};
} // namespace

bool fileExists(const std::string& name) {
    struct stat info {};
    return ::stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::variant<std::string, FileFailure> readFirmwareFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_size > static_cast<off_t>(kMaxFirmwareFileSize))
        return kTooLarge;
    auto read = files::readWholeFile(path);
    if (const auto* error = std::get_if<files::FileError>(&read))
        return FileFailure{error->description};
    // A file that grew while it was read is held to the same limit.
    if (std::get<std::string>(read).size() > kMaxFirmwareFileSize) return kTooLarge;
    return std::move(std::get<std::string>(read));
}

std::optional<FileFailure> writeFileReplacing(const std::string& path, std::string_view data) {
    const auto written = files::replaceFile(path, data);
    if (const auto* error = std::get_if<files::FileError>(&written))
        return FileFailure{error->description};
    return std::nullopt;
}

} // namespace orvane::firmware
