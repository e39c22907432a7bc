// The file cipher on libsodium: XChaCha20-Poly1305 under a key hashed from the cipher code
// and both keys, a random nonce per file, and a header that marks the file as enciphered.
//
// File layout: "ORVFWENC", format byte 1, plain length (4 bytes, low byte first), nonce
// (24 bytes), then the enciphered data with its 16-byte tag. The header is authenticated
// with the data, so a changed length or format byte is refused like a changed data byte.
#ifndef ORVANE_FIRMWARE_CORE_FILE_CIPHER_SODIUM_H
#define ORVANE_FIRMWARE_CORE_FILE_CIPHER_SODIUM_H

#include "firmware/core/file_cipher.h"

namespace orvane::firmware {

class SodiumFileCipher : public FileCipher {
public:
    std::string encrypt(int code, std::string_view key1, std::string_view key2,
                        std::string_view data) override;
    std::string decrypt(int code, std::string_view key1, std::string_view key2,
                        std::string_view data) override;
    bool looksEnciphered(std::string_view data) const override;
};

} // namespace orvane::firmware

#endif
