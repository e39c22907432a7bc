// firmware flash: the whole update of an interface's firmware from a file.
#ifndef ORVANE_CLI_FIRMWARE_FLASH_H
#define ORVANE_CLI_FIRMWARE_FLASH_H

#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "firmware/core/firmware_loader.h"

namespace orvane::cli {

// Reads a plain or enciphered firmware file whole; on refusal says why on stderr and
// returns nothing (exit code 7, bad file).
std::optional<firmware::LoadedFirmware>
loadFirmwareOrSay(firmware::FileCipher& cipher, const std::string& path, CliServices& services);

// a.positional: "flash", FILE. Options --wait, --device, --verbose.
int firmwareFlash(const Arguments& a, CliServices& services);

} // namespace orvane::cli

#endif
