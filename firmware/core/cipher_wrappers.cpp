#include "firmware/core/cipher_wrappers.h"

#include <variant>

#include "firmware/core/file_keys.h"
#include "firmware/core/firmware_file.h"

namespace orvane::firmware {
namespace {

enum class CipherDirection { Encrypt, Decrypt };

std::string runCipher(CipherDirection direction, FileCipher& cipher, int selector,
                      std::string_view data, std::string_view key1, std::string_view key2) {
    const auto code = cipherCode(selector);
    if (!code) return {};
    const std::string second = paddedSecondKey(std::string(key2));
    return direction == CipherDirection::Encrypt ? cipher.encrypt(*code, key1, second, data)
                                                 : cipher.decrypt(*code, key1, second, data);
}

} // namespace

std::string EncryptArray(FileCipher& cipher, int selector, std::string_view data,
                         std::string_view key1, std::string_view key2) {
    return runCipher(CipherDirection::Encrypt, cipher, selector, data, key1, key2);
}

std::string DecryptArray(FileCipher& cipher, int selector, std::string_view data,
                         std::string_view key1, std::string_view key2) {
    return runCipher(CipherDirection::Decrypt, cipher, selector, data, key1, key2);
}

EncryptFileResult EncryptFile(FileCipher& cipher, int selector, const std::string& input,
                              const std::string& output, bool overwrite, std::string_view key1,
                              std::string_view key2) {
    if (!fileExists(input)) return {};
    if (!overwrite && fileExists(output)) return {};
    auto content = readFirmwareFile(input);
    if (auto* failure = std::get_if<FileFailure>(&content))
        return {false, "Cannot read " + input + ": " + failure->description};
    if (!cipherCode(selector))
        return {false, "No file cipher for selector " + std::to_string(selector)};
    std::string enciphered;
    try {
        enciphered = EncryptArray(cipher, selector, std::get<std::string>(content), key1, key2);
    } catch (const FileCipherError& e) {
        return {false, e.what()};
    }
    if (enciphered.size() > kMaxFirmwareFileSize)
        return {false, "The enciphered file would be larger than 4 MiB, more than any firmware"};
    if (auto failure = writeFileReplacing(output, enciphered))
        return {false, "Cannot write " + output + ": " + failure->description};
    return {true, {}};
}

} // namespace orvane::firmware
