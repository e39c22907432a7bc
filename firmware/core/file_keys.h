// The keys and cipher codes of enciphered firmware files.
#ifndef ORVANE_FIRMWARE_CORE_FILE_KEYS_H
#define ORVANE_FIRMWARE_CORE_FILE_KEYS_H

#include <optional>
#include <string>

namespace orvane::firmware {

// Every enciphered firmware file uses selector 10, cipher code 83.
inline constexpr int kFirmwareSelector = 10;

// The cipher code of a selector 0..13; none for any other selector.
std::optional<int> cipherCode(int selector);

// The first file key: 24 characters joined from their character codes each time it is
// built, so the key never lies in the program as one text.
std::string fileKey1();

// The stored second file key, as Windows-1252 bytes; a fresh copy for each use.
std::string fileKey2();

// A second key shorter than 8 characters is filled up with blanks to 8.
std::string paddedSecondKey(std::string key);

} // namespace orvane::firmware

#endif
