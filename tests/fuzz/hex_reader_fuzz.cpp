// The HEX reader on any input: no crash, nothing outside the application area, and the
// same outcome whatever the case of the letters.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "firmware/core/hex_reader.h"

using orvane::firmware::HexFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto result = orvane::firmware::readIntelHex(text);

    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto lowered = orvane::firmware::readIntelHex(lower);
    if (result.index() != lowered.index()) std::abort();

    if (const auto* file = std::get_if<HexFile>(&result)) {
        if (!(file->image == std::get<HexFile>(lowered).image)) std::abort();
        for (std::uint32_t a = 0; a < orvane::firmware::kApplicationStart; ++a)
            if (file->image.byteAt(a) != 0xFF) std::abort();
    }
    return 0;
}
