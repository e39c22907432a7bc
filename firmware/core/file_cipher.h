// The cipher that enciphers whole firmware files: a pair of operations on byte arrays under
// a numeric cipher code and two keys. Deciphering refuses anything that was not enciphered
// by encrypt with the same code and keys, or that was changed afterwards.
#ifndef ORVANE_FIRMWARE_CORE_FILE_CIPHER_H
#define ORVANE_FIRMWARE_CORE_FILE_CIPHER_H

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::firmware {

// Why a cipher operation failed; what() is a sentence for the user.
class FileCipherError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FileCipher {
public:
    virtual ~FileCipher() = default;
    // Keys are byte strings (the program's keys are Windows-1252 text). Both operations
    // throw FileCipherError on failure.
    virtual std::string encrypt(int code, std::string_view key1, std::string_view key2,
                                std::string_view data) = 0;
    virtual std::string decrypt(int code, std::string_view key1, std::string_view key2,
                                std::string_view data) = 0;
    // True when the data carries the mark of an enciphered file, whatever its keys.
    virtual bool looksEnciphered(std::string_view data) const = 0;
};

} // namespace orvane::firmware

#endif
