// Deciphering any input with the program's keys: refused cleanly or deciphered, never a
// crash. An input whose first byte is odd is enciphered first and must come back whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "firmware/core/cipher_wrappers.h"
#include "firmware/core/file_cipher_sodium.h"
#include "firmware/core/file_keys.h"

using namespace orvane::firmware;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SodiumFileCipher cipher;
    static const std::string key1 = fileKey1();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    try {
        if (!input.empty() && (input[0] & 1) != 0) {
            input.remove_prefix(1);
            const auto enciphered = EncryptArray(cipher, kFirmwareSelector, input, key1, fileKey2());
            if (DecryptArray(cipher, kFirmwareSelector, enciphered, key1, fileKey2()) != input)
                std::abort();
        } else {
            (void)DecryptArray(cipher, kFirmwareSelector, input, key1, fileKey2());
        }
    } catch (const FileCipherError&) {
    }
    return 0;
}
