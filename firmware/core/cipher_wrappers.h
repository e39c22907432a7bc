// The firmware dialog's side of the file cipher: the selector becomes the cipher code, the
// second key is filled up to 8 characters, whole files are enciphered into new files.
// The keys are taken as they are given and never emptied, so that one dialog deciphers any
// number of files with the same keys.
#ifndef ORVANE_FIRMWARE_CORE_CIPHER_WRAPPERS_H
#define ORVANE_FIRMWARE_CORE_CIPHER_WRAPPERS_H

#include <string>
#include <string_view>

#include "firmware/core/file_cipher.h"

namespace orvane::firmware {

// Enciphered or deciphered bytes; empty, without a call to the cipher, for a selector
// outside 0..13. Cipher failures throw FileCipherError.
std::string EncryptArray(FileCipher& cipher, int selector, std::string_view data,
                         std::string_view key1, std::string_view key2);
std::string DecryptArray(FileCipher& cipher, int selector, std::string_view data,
                         std::string_view key1, std::string_view key2);

struct EncryptFileResult {
    bool written = false;
    // Why nothing was written; empty for a missing input file or an output file that may
    // not be overwritten, which are refused silently.
    std::string failure;
};

// Enciphers the input file as a whole into the output file (written through a temporary
// file, so a failure leaves no half file and keeps an earlier output file).
EncryptFileResult EncryptFile(FileCipher& cipher, int selector, const std::string& input,
                              const std::string& output, bool overwrite, std::string_view key1,
                              std::string_view key2);

} // namespace orvane::firmware

#endif
