#include "firmware/core/firmware_loader.h"

#include "firmware/core/cipher_wrappers.h"
#include "firmware/core/file_keys.h"
#include "firmware/core/firmware_file.h"

namespace orvane::firmware {

std::variant<LoadedFirmware, std::string> loadFirmwareFile(FileCipher& cipher,
                                                           const std::string& path) {
    auto read = readFirmwareFile(path);
    if (const auto* failure = std::get_if<FileFailure>(&read))
        return "Cannot read " + path + ": " + failure->description + ".";
    std::string content = std::move(std::get<std::string>(read));
    LoadedFirmware loaded;
    loaded.enciphered = cipher.looksEnciphered(content);
    if (loaded.enciphered) {
        try {
            content = DecryptArray(cipher, kFirmwareSelector, content, fileKey1(), fileKey2());
        } catch (const FileCipherError& e) {
            return path + " is refused: " + e.what();
        }
    }
    auto parsed = readIntelHex(content);
    if (const auto* error = std::get_if<HexError>(&parsed)) {
        if (error->notHex && !loaded.enciphered)
            return path + " is not an Intel HEX file, nor a firmware file enciphered by this "
                          "program.";
        return path + " is refused, " + error->describe() + ".";
    }
    loaded.file = std::move(std::get<HexFile>(parsed));
    if (loaded.file.image.filledLineCount() == 0)
        return path + " holds no data for the application area 0x2000-0x5FFF.";
    return loaded;
}

} // namespace orvane::firmware
