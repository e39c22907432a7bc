// firmware flash: the whole update of an interface's firmware from a file.
#ifndef ORVANE_CLI_FIRMWARE_FLASH_H
#define ORVANE_CLI_FIRMWARE_FLASH_H

#include "cli/arguments.h"
#include "cli/cli.h"

namespace orvane::cli {

// a.positional: "flash", FILE. Options --wait, --device, --verbose.
int firmwareFlash(const Arguments& a, CliServices& services);

} // namespace orvane::cli

#endif
