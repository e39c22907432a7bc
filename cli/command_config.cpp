// config: the interface's whole configuration, read into a settings file and written back,
// through the same sequences, command table and settings-file format as the dialog.
#include <iomanip>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "cli/exit_codes.h"
#include "config/core/command_exchange.h"
#include "config/core/settings_file.h"
#include "config/core/transfer_sequences.h"
#include "files/file_access.h"

namespace orvane::cli {

namespace {

constexpr const char* kHelp =
    R"(usage: orvane-cli config read [-o FILE.orv] [--device N|SERIAL] [--verbose]
       orvane-cli config write FILE.orv [--store] [--device N|SERIAL] [--verbose]

read   reads the whole configuration (the dialog's Load from Interface) and writes it as a
       settings file, the same bytes as the dialog's Save in File, or shows it as a table.
       Nothing is written unless every command was answered (exit code 5 otherwise).
write  transmits a settings file (the dialog's Transmit to Interface), with --store also
       makes the interface store it (it then applies after the interface is reconnected),
       then reads the configuration back and compares it (exit code 6 on a difference).
       The boot-loader switch is sent off, as the dialog sends it unless its box is checked.
)";

// Runs one sequence on the record; the number of commands left unanswered.
struct SequenceRun {
    int unanswered = 0;
    bool deviceGone = false;
};

SequenceRun run(std::span<const config::SequenceStep> steps, config::Configuration& record,
                const FoundDevice& device, CliServices& services, bool verbose) {
    SequenceRun result;
    const config::ReportLengths lengths{device.outputReportLen, device.inputReportLen};
    config::runSequence(
        steps,
        [&](std::string_view requestText) {
            auto built = config::buildRequest("F9", requestText, lengths);
            if (const auto* refused = std::get_if<config::RefusedRequest>(&built)) {
                services.err << refused->status;
                ++result.unanswered;
                return;
            }
            const auto outcome =
                config::runCommand(services.port, services.clock,
                                   std::get<report::ReportBuffer>(built), lengths, true, record);
            if (verbose) services.out << outcome.putLine << outcome.getLine;
            if (!outcome.answered) ++result.unanswered;
            if (outcome.exchange.written < 0 || outcome.exchange.lastRead < 0)
                result.deviceGone = true;
        },
        [](double) {});
    return result;
}

int failedRun(const SequenceRun& r, std::size_t total, CliServices& services, const char* what) {
    if (r.deviceGone)
        services.err << "The interface stopped answering (it left or failed) during " << what
                     << ".\n";
    else
        services.err << "The interface did not answer " << r.unanswered << " of " << total
                     << " commands during " << what << ".\n";
    return code(ExitCode::NoAnswer);
}

void printTable(const config::Configuration& c, std::ostream& out) {
    out << "Axis    channel  inverted\n";
    for (int i = 0; i < config::kAxisCount; ++i)
        out << std::left << std::setw(8) << i + 1 << std::setw(9) << c.axisChannel[i]
            << (c.axisInvert[i] ? "yes" : "no") << "\n";
    out << "\nButton  channel  trigger  inverted  active\n";
    for (int i = 0; i < config::kButtonCount; ++i)
        out << std::setw(8) << i + 1 << std::setw(9) << c.buttonChannel[i] << std::setw(9)
            << c.buttonThreshold[i] << std::setw(10) << (c.buttonInvert[i] ? "yes" : "no")
            << (c.buttonActive[i] ? "yes" : "no") << "\n";
    out << "\nMixer   assignment  neutral  factor  exponent  Q-factor  Q-exponent\n";
    using config::MixerField;
    for (int j = 0; j < config::kMixerCount; ++j)
        out << std::setw(8) << j + 1 << std::setw(12) << c.mixers[MixerField::Assignment][j]
            << std::setw(9) << c.mixers[MixerField::Neutral][j] << std::setw(8)
            << c.mixers[MixerField::Factor][j] << std::setw(10) << c.mixers[MixerField::Exponent][j]
            << std::setw(10) << c.mixers[MixerField::FactorQ][j]
            << c.mixers[MixerField::ExponentQ][j] << "\n";
    out << "\nDecoding mode: " << (c.decodingMode == 0 ? "PPM" : "PCM") << "\n";
}

// What the interface keeps: everything but the dialog's own option-button state and the
// boot-loader switch, which is never read back.
bool sameOnInterface(const config::Configuration& a, const config::Configuration& b) {
    return a.axisChannel == b.axisChannel && a.axisInvert == b.axisInvert &&
           a.buttonChannel == b.buttonChannel && a.buttonThreshold == b.buttonThreshold &&
           a.buttonInvert == b.buttonInvert && a.buttonActive == b.buttonActive &&
           a.mixers == b.mixers && a.decodingMode == b.decodingMode;
}

int read(const Arguments& a, CliServices& services) {
    DeviceSession session(services, a.value("--device").value_or(""), Want::Interface);
    if (const auto failure = session.failure()) return code(*failure);
    config::Configuration record;
    const auto steps = config::loadSequence();
    const auto result = run(steps, record, session.device(), services, a.has("--verbose"));
    if (result.unanswered > 0 || result.deviceGone)
        return failedRun(result, config::requestCount(steps), services, "the read");

    const auto output = a.value("-o");
    if (!output) {
        printTable(record, services.out);
        return code(ExitCode::Ok);
    }
    const auto written = files::replaceFile(*output, config::writeSettingsFile(record, ""));
    if (const auto* error = std::get_if<files::FileError>(&written)) {
        services.err << "Cannot write " << *output << ": " << error->description << ".\n";
        return code(ExitCode::Failure);
    }
    services.out << "Configuration read into " << *output << ".\n";
    return code(ExitCode::Ok);
}

int write(const Arguments& a, CliServices& services) {
    const std::string& path = a.positional[1];
    auto data = files::readWholeFile(path);
    if (const auto* error = std::get_if<files::FileError>(&data)) {
        services.err << "Cannot read " << path << ": " << error->description << ".\n";
        return code(ExitCode::BadFile);
    }
    const auto load =
        config::readSettingsFile(std::get<std::string>(data), config::Configuration{}, "");
    if (load.failureMessage) {
        std::string message = *load.failureMessage;
        for (auto& c : message)
            if (c == '\r' || c == '\n') c = ' ';
        services.err << path << " is refused: " << message << ".\n";
        return code(ExitCode::BadFile);
    }

    DeviceSession session(services, a.value("--device").value_or(""), Want::Interface);
    if (const auto failure = session.failure()) return code(*failure);
    const bool verbose = a.has("--verbose");
    config::Configuration record = load.items;
    const auto transmit = config::transmitSequence(record);
    if (const auto r = run(transmit, record, session.device(), services, verbose);
        r.unanswered > 0 || r.deviceGone)
        return failedRun(r, config::requestCount(transmit), services, "the transmission");

    config::Configuration readBack;
    const auto load20 = config::loadSequence();
    if (const auto r = run(load20, readBack, session.device(), services, verbose);
        r.unanswered > 0 || r.deviceGone)
        return failedRun(r, config::requestCount(load20), services, "the read-back");
    if (!sameOnInterface(readBack, load.items)) {
        services.err << "The interface reads back a configuration different from " << path
                     << "; nothing was stored.\n";
        return code(ExitCode::VerifyMismatch);
    }
    if (a.has("--store")) {
        const auto store = config::storeSequence();
        if (const auto r = run(store, record, session.device(), services, verbose);
            r.unanswered > 0 || r.deviceGone)
            return failedRun(r, config::requestCount(store), services, "storing");
        services.out << "Configuration transmitted, verified and stored; reconnect the "
                        "interface to apply all changes.\n";
    } else {
        services.out << "Configuration transmitted and verified (not stored).\n";
    }
    return code(ExitCode::Ok);
}

} // namespace

int commandConfig(std::span<const std::string> words, CliServices& services) {
    const Arguments a =
        parseArguments(words, {"--device", "-o"}, {"--store", "--verbose", "--help"});
    if (a.has("--help")) {
        services.out << kHelp;
        return code(ExitCode::Ok);
    }
    const std::string action = a.positional.empty() ? "" : a.positional[0];
    if (!a.error.empty() || (action == "read" && a.positional.size() != 1) ||
        (action == "write" && a.positional.size() != 2)) {
        services.err << (a.error.empty() ? "See orvane-cli config --help." : a.error) << "\n";
        return code(ExitCode::Usage);
    }
    if (action == "read") return read(a, services);
    if (action == "write") return write(a, services);
    services.err << "config needs read or write; see orvane-cli config --help.\n";
    return code(ExitCode::Usage);
}

} // namespace orvane::cli
