// orvane-cli's exit codes: scripts tell one failure from another by them.
#ifndef ORVANE_CLI_EXIT_CODES_H
#define ORVANE_CLI_EXIT_CODES_H

namespace orvane::cli {

enum class ExitCode : int {
    Ok = 0,
    Failure = 1,        // anything not named below (a file that cannot be written, ...)
    Usage = 2,          // unknown command or option, missing argument
    NoDevice = 3,       // no interface (or boot loader) found
    NoAccess = 4,       // found, but it cannot be opened: busy or no permission
    NoAnswer = 5,       // the device stopped answering or left
    VerifyMismatch = 6, // what was written does not read back the same
    BadFile = 7,        // a settings or firmware file that is refused
};

constexpr int code(ExitCode c) {
    return static_cast<int>(c);
}

} // namespace orvane::cli

#endif
