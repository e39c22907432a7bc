// Command-line words split into positional arguments and options.
#ifndef ORVANE_CLI_ARGUMENTS_H
#define ORVANE_CLI_ARGUMENTS_H

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "report/report_port.h"

namespace orvane::cli {

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options; // a flag maps to ""
    std::string error;                          // empty when the words were understood

    bool has(const std::string& name) const { return options.contains(name); }
    std::optional<std::string> value(const std::string& name) const;
};

// Takes "--answer-timeout MS" (or "--answer-timeout=MS") out of the words wherever it
// stands and sets the port's answer bound. Returns an error text, empty when understood.
std::string takeAnswerTimeout(std::vector<std::string>& words, report::ReportPort& port);

// valued: options that take the next word ("-o", "--device"); flags: options without one.
// "--name=value" is taken too. Anything else starting with "-" is an error.
Arguments parseArguments(std::span<const std::string> words, const std::set<std::string>& valued,
                         const std::set<std::string>& flags);

} // namespace orvane::cli

#endif
