// Addresses and ids in the command line's one style: "0x3550", "21375 (0x537F)".
#ifndef ORVANE_CLI_ADDRESS_TEXT_H
#define ORVANE_CLI_ADDRESS_TEXT_H

#include <cstdint>
#include <cstdio>
#include <string>

namespace orvane::cli {

// At least four upper-case digits.
inline std::string addressText(std::uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", address);
    return text;
}

// A USB vendor or product id as the program shows it (decimal) and in hexadecimal.
inline std::string idText(int id) {
    return std::to_string(id) + " (" + addressText(static_cast<std::uint32_t>(id)) + ")";
}

} // namespace orvane::cli

#endif
