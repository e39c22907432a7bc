// Runs orvane-cli with an emulated bus and collects what it printed and its exit code.
#ifndef ORVANE_TESTS_CLI_RUN_H
#define ORVANE_TESTS_CLI_RUN_H

#include <string>
#include <vector>

namespace orvane::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// emulator: the TAVREL_EMULATOR value; state: TAVREL_EMULATOR_STATE (empty: none).
CliRun runCli(const std::vector<std::string>& args, const std::string& emulator,
              const std::string& state = {});

} // namespace orvane::test

#endif
