// orvane-cli: the interface from the command line, on the same cores as the program.
#ifndef ORVANE_CLI_CLI_H
#define ORVANE_CLI_CLI_H

#include <iosfwd>
#include <span>
#include <string>

namespace orvane {
class TavrelApi;
namespace report {
class ReportPort;
class Clock;
} // namespace report
} // namespace orvane

namespace orvane::cli {

struct CliServices {
    TavrelApi& tavrel;
    report::ReportPort& port; // the device opened through library object 0
    const report::Clock& clock;
    std::ostream& out;
    std::ostream& err;
    bool terminal = false; // out is a terminal: progress bars instead of lines
};

// args: the arguments after the program's name. Returns the exit code.
int runCli(std::span<const std::string> args, CliServices& services);

} // namespace orvane::cli

#endif
