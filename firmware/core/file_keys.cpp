#include "firmware/core/file_keys.h"

#include <array>

namespace orvane::firmware {

std::optional<int> cipherCode(int selector) {
    static constexpr std::array<int, 14> kCodes{18, 3, 55, 51, 59, 34, 102, 99, 96, 86, 83, 80,
                                                257, 64};
    if (selector < 0 || selector >= static_cast<int>(kCodes.size())) return std::nullopt;
    return kCodes[static_cast<std::size_t>(selector)];
}

std::string fileKey1() {
    static constexpr std::array<int, 24> kCodes{75, 113, 55, 35, 119, 82, 51, 109, 88, 36, 112, 76,
                                                57, 122, 70, 33, 104, 84, 50, 118, 64, 78, 54, 103};
    std::string key;
    key.reserve(kCodes.size());
    for (int code : kCodes)
        key.push_back(static_cast<char>(code));
    return key;
}

std::string fileKey2() {
    // "§" is the Windows-1252 byte A7.
    return "HRNX/LMCV3\xA7:";
}

std::string paddedSecondKey(std::string key) {
    if (key.size() < 8) key.resize(8, ' ');
    return key;
}

} // namespace orvane::firmware
