// A firmware file's content, plain or enciphered, read into a memory image: the path the
// command line takes, which knows no file-dialog filter and goes by the content alone.
#ifndef ORVANE_FIRMWARE_CORE_FIRMWARE_LOADER_H
#define ORVANE_FIRMWARE_CORE_FIRMWARE_LOADER_H

#include <string>
#include <variant>

#include "firmware/core/file_cipher.h"
#include "firmware/core/hex_reader.h"

namespace orvane::firmware {

struct LoadedFirmware {
    HexFile file;
    bool enciphered = false;
};

// Reads the file (refusing anything over the size limit), deciphers it with the program's
// keys when it carries the enciphered mark, and parses it. The error is one sentence.
std::variant<LoadedFirmware, std::string> loadFirmwareFile(FileCipher& cipher,
                                                           const std::string& path);

} // namespace orvane::firmware

#endif
