#include "firmware/core/file_cipher_sodium.h"

#include <sodium.h>

#include <array>
#include <cstdint>
#include <limits>

namespace orvane::firmware {
namespace {

constexpr std::string_view kMagic = "ORVFWENC";
constexpr std::uint8_t kFormat = 1;
constexpr std::size_t kLengthOffset = kMagic.size() + 1;
constexpr std::size_t kNonceOffset = kLengthOffset + 4;
constexpr std::size_t kNonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kHeaderSize = kNonceOffset + kNonceSize;
constexpr std::size_t kTagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr std::string_view kKeyDomain = "orvane firmware file key 1";

const unsigned char* bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

void ensureSodium() {
    if (sodium_init() < 0) throw FileCipherError("The cipher library cannot be started.");
}

void appendLength(crypto_generichash_state& state, std::uint64_t length) {
    std::array<unsigned char, 8> le{};
    for (std::size_t i = 0; i < le.size(); ++i)
        le[i] = static_cast<unsigned char>(length >> (8 * i));
    crypto_generichash_update(&state, le.data(), le.size());
}

// The key belongs to the code and both keys together; lengths are hashed with the keys so
// that no two key pairs share one input.
class DerivedKey {
public:
    DerivedKey(int code, std::string_view key1, std::string_view key2) {
        crypto_generichash_state state;
        crypto_generichash_init(&state, nullptr, 0, key_.size());
        crypto_generichash_update(&state, bytes(kKeyDomain), kKeyDomain.size());
        appendLength(state, static_cast<std::uint32_t>(code));
        appendLength(state, key1.size());
        crypto_generichash_update(&state, bytes(key1), key1.size());
        appendLength(state, key2.size());
        crypto_generichash_update(&state, bytes(key2), key2.size());
        crypto_generichash_final(&state, key_.data(), key_.size());
    }
    DerivedKey(const DerivedKey&) = delete;
    DerivedKey& operator=(const DerivedKey&) = delete;
    ~DerivedKey() { sodium_memzero(key_.data(), key_.size()); }
    const unsigned char* data() const { return key_.data(); }

private:
    std::array<unsigned char, crypto_aead_xchacha20poly1305_ietf_KEYBYTES> key_{};
};

} // namespace

bool SodiumFileCipher::looksEnciphered(std::string_view data) const {
    return data.substr(0, kMagic.size()) == kMagic;
}

std::string SodiumFileCipher::encrypt(int code, std::string_view key1, std::string_view key2,
                                      std::string_view data) {
    ensureSodium();
    if (data.size() > std::numeric_limits<std::uint32_t>::max())
        throw FileCipherError("The file is too large to encipher.");
    std::string out(kHeaderSize + data.size() + kTagSize, '\0');
    auto* header = reinterpret_cast<unsigned char*>(out.data());
    kMagic.copy(out.data(), kMagic.size());
    header[kMagic.size()] = kFormat;
    for (std::size_t i = 0; i < 4; ++i)
        header[kLengthOffset + i] = static_cast<unsigned char>(data.size() >> (8 * i));
    randombytes_buf(header + kNonceOffset, kNonceSize);
    const DerivedKey key(code, key1, key2);
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(header + kHeaderSize, &written, bytes(data),
                                               data.size(), header, kNonceOffset, nullptr,
                                               header + kNonceOffset, key.data());
    out.resize(kHeaderSize + static_cast<std::size_t>(written));
    return out;
}

std::string SodiumFileCipher::decrypt(int code, std::string_view key1, std::string_view key2,
                                      std::string_view data) {
    ensureSodium();
    if (!looksEnciphered(data))
        throw FileCipherError("The file is not a firmware file enciphered by this program.");
    if (data.size() < kHeaderSize)
        throw FileCipherError("The enciphered file is cut short within its header.");
    const unsigned char* header = bytes(data);
    if (header[kMagic.size()] != kFormat)
        throw FileCipherError("The enciphered file has a format this program does not know (" +
                              std::to_string(header[kMagic.size()]) + ").");
    std::uint64_t length = 0;
    for (std::size_t i = 0; i < 4; ++i)
        length |= std::uint64_t{header[kLengthOffset + i]} << (8 * i);
    const std::uint64_t expected = kHeaderSize + length + kTagSize;
    if (data.size() < expected)
        throw FileCipherError("The enciphered file is cut short: " + std::to_string(data.size()) +
                              " of " + std::to_string(expected) + " bytes.");
    if (data.size() > expected)
        throw FileCipherError("The enciphered file has " + std::to_string(data.size() - expected) +
                              " bytes more than it should; it is damaged.");
    std::string out(static_cast<std::size_t>(length), '\0');
    const DerivedKey key(code, key1, key2);
    unsigned long long written = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char*>(out.data()),
                                                   &written, nullptr, header + kHeaderSize,
                                                   data.size() - kHeaderSize, header, kNonceOffset,
                                                   header + kNonceOffset, key.data()) != 0) {
        sodium_memzero(out.data(), out.size());
        throw FileCipherError("The enciphered file is damaged or was enciphered with other keys.");
    }
    out.resize(static_cast<std::size_t>(written));
    return out;
}

} // namespace orvane::firmware
