#include "cli/cli.h"

#include <ostream>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "device/runtime_failure.h"
#include "program_version.h"

namespace orvane::cli {

namespace {

constexpr const char* kUsage =
    R"(usage: orvane-cli [--device N|SERIAL] [--verbose] COMMAND [ARGS]

Commands:
  list [--json]                          the HID devices and the interfaces found
  config read [-o FILE.orv | --json]     read the whole configuration of the interface
  config write FILE.orv [--store]        transmit a settings file (and store it)
  config bootloader                      switch the interface's boot loader on and store it
  firmware flash FILE.hex|FILE.enc [--wait SECONDS]
                                         update the firmware through the boot loader
  firmware encrypt IN.hex -o OUT.enc     encipher a firmware file
  firmware check FILE [--json]           validate a firmware file, touch no device
  send REPORT_ID "BYTES..." [--reads N]  send one raw report and show the answers
  help COMMAND                           help on one command
  monitor [--seconds S] [--csv FILE] [--json]
                                         measure the joystick reports: rate, dropouts, jitter

Options:
  --device N|SERIAL  the device at list position N, or with this serial number
  --verbose          show every report exchanged
  --answer-timeout MS  wait up to MS milliseconds for each answer (default 100;
                     also ORVANE_ANSWER_TIMEOUT_MS), for an interface that answers late
  --version          the program's version
  COMMAND --help     help on one command (also: help COMMAND)

Exit codes:
  0 success            1 other failure         2 usage error
  3 no device found    4 device busy or no permission
  5 device stopped answering                   6 verify mismatch
  7 bad file
)";

} // namespace

int runCli(std::span<const std::string> allArgs, CliServices& services) {
    std::vector<std::string> args(allArgs.begin(), allArgs.end());
    if (const std::string error = takeAnswerTimeout(args, services.port); !error.empty()) {
        services.err << error << "\n";
        return code(ExitCode::Usage);
    }
    if (args.empty()) {
        services.err << kUsage;
        return code(ExitCode::Usage);
    }
    const std::string& command = args.front();
    if ((command == "--help" || command == "-h" || command == "help") &&
        (args.size() == 1 || args[1].starts_with("-"))) {
        services.out << kUsage;
        return code(ExitCode::Ok);
    }
    // "help config" is "config --help".
    if (command == "help") {
        const std::vector<std::string> asked{args[1], "--help"};
        return runCli(asked, services);
    }
    // Global options may stand before the command too: move them behind it.
    std::vector<std::string> words;
    std::size_t i = 0;
    std::vector<std::string> globals;
    while (i < args.size() && args[i].starts_with("--")) {
        if (args[i] == "--version") {
            services.out << "orvane-cli " << kVersionText << "\n";
            return code(ExitCode::Ok);
        }
        globals.push_back(args[i]);
        if (args[i] == "--device" && i + 1 < args.size()) globals.push_back(args[++i]);
        ++i;
    }
    if (i >= args.size()) {
        services.err << "No command given; see orvane-cli --help.\n";
        return code(ExitCode::Usage);
    }
    const std::string name = args[i];
    words.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    words.insert(words.end(), globals.begin(), globals.end());
    try {
        if (name == "list") return commandList(words, services);
        if (name == "send") return commandSend(words, services);
        if (name == "config") return commandConfig(words, services);
        if (name == "firmware") return commandFirmware(words, services);
        if (name == "monitor") return commandMonitor(words, services);
    } catch (const RuntimeFailure& failure) {
        // The library is missing or lacks a function.
        services.err << "libtavrel could not be used: " << failure.description() << ".\n";
        return code(ExitCode::Failure);
    }
    services.err << "Unknown command " << name << "; see orvane-cli --help.\n";
    return code(ExitCode::Usage);
}

} // namespace orvane::cli
