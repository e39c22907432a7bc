// Whole-file reading and replacing, with the operating system's description of a failure.
#ifndef ORVANE_FILES_FILE_ACCESS_H
#define ORVANE_FILES_FILE_ACCESS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace orvane::files {

struct FileError {
    std::string description; // the operating system's text, e.g. "Permission denied"
};

// Settings files are a few kilobytes; anything beyond this is not read.
inline constexpr std::size_t kMaxReadSize = 16 * 1024 * 1024;

// Only regular files are read; anything else is refused at once as unreadable.
std::variant<std::string, FileError> readWholeFile(const std::string& path);

// Writes the data to a new file beside path and renames it over path, so that a failure
// leaves the previous file as it was. A write-protected existing file is refused.
std::variant<std::monostate, FileError> replaceFile(const std::string& path, std::string_view data);

} // namespace orvane::files

#endif
