// The subcommands. Each gets its arguments (the words after the command's name, global
// options included) and returns the exit code.
#ifndef ORVANE_CLI_COMMANDS_H
#define ORVANE_CLI_COMMANDS_H

#include <span>
#include <string>

#include "cli/cli.h"

namespace orvane::cli {

int commandList(std::span<const std::string> words, CliServices& services);
int commandSend(std::span<const std::string> words, CliServices& services);
int commandConfig(std::span<const std::string> words, CliServices& services);
int commandFirmware(std::span<const std::string> words, CliServices& services);
int commandMonitor(std::span<const std::string> words, CliServices& services);

} // namespace orvane::cli

#endif
