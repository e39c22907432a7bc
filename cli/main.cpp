// orvane-cli: loads libtavrel.so by name like the program and runs one command.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "device/tavrel_library.h"
#include "device/tavrel_report_port.h"
#include "report/clock.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    orvane::TavrelLibrary tavrel;
    orvane::TavrelReportPort port(tavrel,
                                  [](std::string_view notice) { std::cerr << notice << "\n"; });
    orvane::report::SteadyClock clock;
    orvane::cli::CliServices services{tavrel,    port,      clock,
                                      std::cout, std::cerr, isatty(STDOUT_FILENO) == 1};
    return orvane::cli::runCli(args, services);
}
