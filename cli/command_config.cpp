// config: the interface's whole configuration, read into a settings file and written back,
// through the same sequences, command table and settings-file format as the dialog.
#include <iomanip>
#include <optional>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/config_read_json.h"
#include "cli/device_session.h"
#include "cli/exit_codes.h"
#include "config/core/command_exchange.h"
#include "config/core/interface_match.h"
#include "config/core/sequence_outcome.h"
#include "config/core/settings_file.h"
#include "config/core/transfer_sequences.h"
#include "files/file_access.h"

namespace orvane::cli {

namespace {

constexpr const char* kConfigHelp =
    R"(usage: orvane-cli config read [-o FILE.orv | --json] [--device N|SERIAL] [--verbose]
       orvane-cli config write FILE.orv [--store] [--device N|SERIAL] [--verbose]
       orvane-cli config bootloader [--device N|SERIAL] [--verbose]

read        reads the whole configuration (the dialog's Load from Interface) and writes it
            as a settings file, the same bytes as the dialog's Save in File, or shows it as
            a table. Nothing is written unless every command was answered (exit code 5
            otherwise) and every answer carried values the interface can hold (exit code 1
            otherwise: the message names the answers). --json shows every item by the
            name the settings file gives it.
write       transmits a settings file (the dialog's Transmit to Interface), with --store
            also makes the interface store it (it then applies after the interface is
            reconnected), then reads the configuration back and compares it (exit code 6 on
            a difference). The boot-loader switch is sent off, as the dialog sends it unless
            its box is checked. A file that is no settings file, or that holds values the
            interface cannot take, is refused before anything is sent (exit code 7).
            Commands for items the interface's firmware does not have (1.1: mixers and
            decoding mode; 1.2: decoding mode) are counted apart, never as failures.
bootloader  switches the interface's boot loader on and stores it, as the dialog does with
            its "activate Bootloader" box checked: programming mode, the boot-loader switch
            on, leave programming mode and store. The interface's other settings stay as
            they are. Reconnect the interface; it then starts in its boot loader, ready for
            orvane-cli firmware flash.
            The boot loader of interfaces of 2006 or older is incompatible with current
            systems: only do this if you are sure of it.
)";

// Runs one sequence on the record and counts what failed. A version answer sets firmware;
// commands for what a known firmware does not have are counted apart, not as failures.
config::SequenceTally run(config::SequenceKind kind, std::span<const config::SequenceStep> steps,
                          config::Configuration& record, const FoundDevice& device,
                          CliServices& services, bool verbose,
                          std::optional<config::FirmwareVersion>& firmware) {
    const config::ReportLengths lengths{device.outputReportLen, device.inputReportLen};
    auto tally = config::runSequence(
        kind, steps,
        [&](std::string_view requestText) {
            auto built = config::buildRequest("F9", requestText, lengths);
            if (const auto* refused = std::get_if<config::RefusedRequest>(&built))
                return config::refusedStep(*refused);
            const auto outcome =
                config::runCommand(services.port, services.clock,
                                   std::get<report::ReportBuffer>(built), lengths, true, record);
            if (verbose) services.out << outcome.putLine << outcome.getLine;
            if (outcome.effect.version) firmware = outcome.effect.version;
            return config::stepOutcome(outcome, lengths);
        },
        [](double) {});
    if (firmware) tally.countUnsupported(*firmware);
    return tally;
}

// Says what failed: lost answers, failed writes, refusals, a device that left, answers with
// values the interface cannot hold.
int failedRun(const config::SequenceTally& tally, CliServices& services,
              const std::string& note = {}) {
    services.err << config::sequenceSummary(tally) << note << "\n";
    // Every exchange happened, but answers carried impossible values: the device answered,
    // so this is no lost answer.
    return code(tally.failed() > 0 ? ExitCode::NoAnswer : ExitCode::Failure);
}

void printConfigurationTable(const config::Configuration& c, std::ostream& out) {
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

int read(const Arguments& a, CliServices& services) {
    DeviceSession session(services, a.value("--device").value_or(""), Want::Interface);
    if (const auto failure = session.failure()) return code(*failure);
    config::Configuration record;
    std::optional<config::FirmwareVersion> firmware;
    const auto result = run(config::SequenceKind::Load, config::loadSequence(), record,
                            session.device(), services, a.has("--verbose"), firmware);
    const auto output = a.value("-o");
    if (!result.complete())
        return failedRun(result, services,
                         output ? " Nothing was written to " + *output + "." : "");

    if (a.has("--json")) {
        printSettingsJson(config::writeSettingsFile(record, ""), services.out);
        return code(ExitCode::Ok);
    }
    if (!output) {
        printConfigurationTable(record, services.out);
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

std::string oneLine(std::string text) {
    for (auto& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

int write(const Arguments& a, CliServices& services) {
    const std::string& path = a.positional[1];
    auto data = files::readWholeFile(path);
    if (const auto* error = std::get_if<files::FileError>(&data)) {
        services.err << "Cannot read " << path << ": " << error->description << ".\n";
        return code(ExitCode::BadFile);
    }
    const std::string& text = std::get<std::string>(data);
    const auto load = config::readSettingsFile(text, config::Configuration{}, "");
    if (load.failureMessage) {
        if (!config::hasSettingsHeader(text))
            services.err << path << " is not a settings file: it does not begin with \""
                         << config::kSettingsHeader << "\".\n";
        else
            services.err << path << " is refused: " << oneLine(*load.failureMessage) << ".\n";
        return code(ExitCode::BadFile);
    }
    if (const auto notTaken = config::valuesTheInterfaceCannotTake(load.items); !notTaken.empty()) {
        services.err << path << " holds values the interface cannot take: " << joined(notTaken)
                     << "; nothing was sent.\n";
        return code(ExitCode::BadFile);
    }

    DeviceSession session(services, a.value("--device").value_or(""), Want::Interface);
    if (const auto failure = session.failure()) return code(*failure);
    const bool verbose = a.has("--verbose");
    config::Configuration record = load.items;
    // The version is read with the check; the transmission's commands for what the firmware
    // lacks are counted apart once it is known.
    std::optional<config::FirmwareVersion> firmware;
    auto sent = run(config::SequenceKind::Transmit, config::transmitSequence(record), record,
                    session.device(), services, verbose, firmware);
    if (sent.readFailed) return failedRun(sent, services); // the device left: nothing to check

    config::Configuration readBack;
    const auto check = run(config::SequenceKind::Load, config::loadSequence(), readBack,
                           session.device(), services, verbose, firmware);
    if (firmware) sent.countUnsupported(*firmware);
    if (!sent.complete()) return failedRun(sent, services);
    const std::string sentText = config::sequenceSummary(sent);
    if (!check.complete()) {
        std::string checkText = config::sequenceSummary(check); // "The read did not ..."
        checkText[0] = 't';
        services.err << sentText << " The check by reading it back failed: " << checkText
                     << " Nothing was stored: the interface runs the transmitted values until "
                        "it is reconnected; its stored configuration is unchanged.\n";
        return code(check.failed() > 0 ? ExitCode::NoAnswer : ExitCode::Failure);
    }
    if (!config::sameOnInterface(readBack, load.items, firmware)) {
        services.err << "The interface reads back a configuration different from " << path
                     << "; nothing was stored.\n";
        return code(ExitCode::VerifyMismatch);
    }
    if (a.has("--store")) {
        if (const auto r = run(config::SequenceKind::Store, config::storeSequence(), record,
                               session.device(), services, verbose, firmware);
            !r.complete())
            return failedRun(r, services);
        services.out << "Configuration transmitted, verified and stored; reconnect the "
                        "interface to apply all changes.\n";
    } else {
        services.out << "Configuration transmitted and verified (not stored).\n";
    }
    if (sent.unsupported > 0) services.out << sentText << "\n";
    return code(ExitCode::Ok);
}

// The dialog's path to the boot loader, without touching the other settings: the switch
// alone is written, then the working configuration is stored with it.
int bootloader(const Arguments& a, CliServices& services) {
    DeviceSession session(services, a.value("--device").value_or(""), Want::Interface);
    if (const auto failure = session.failure()) return code(*failure);
    config::Configuration record;
    std::optional<config::FirmwareVersion> firmware;
    if (const auto r = run(config::SequenceKind::Store, config::bootloaderSequence(), record,
                           session.device(), services, a.has("--verbose"), firmware);
        !r.complete()) {
        // Storing the switch restarts the interface at once: a lost answer to the store may
        // mean just that.
        const bool storeUnanswered = r.lastStatus() == config::ExchangeStatus::NotAnswered;
        return failedRun(r, services,
                         storeUnanswered
                             ? " If it stored the boot-loader switch, the interface restarts as "
                               "its boot loader: see whether orvane-cli list shows a boot "
                               "loader, then run orvane-cli firmware flash."
                             : "");
    }
    services.out << "Boot-loader switch stored on: the interface starts in its boot loader when "
                    "it restarts (reconnect it if it does not), then run orvane-cli firmware "
                    "flash.\n";
    return code(ExitCode::Ok);
}

// What is wrong with the words, in words; empty when they can be run.
std::string usageError(const Arguments& a) {
    if (!a.error.empty()) return a.error;
    const std::string action = a.positional.empty() ? "" : a.positional[0];
    const std::size_t n = a.positional.size();
    if (action == "write" && n < 2) return "config write needs the settings file to transmit.";
    if ((action == "write" && n > 2) || ((action == "read" || action == "bootloader") && n > 1))
        return "config " + action + " takes " +
               (action == "write" ? "one settings file." : "no further arguments.");
    if (action == "read" && a.has("--json") && a.has("-o"))
        return "config read takes either -o FILE.orv or --json.";
    return {};
}

} // namespace

int commandConfig(std::span<const std::string> words, CliServices& services) {
    const Arguments a =
        parseArguments(words, {"--device", "-o"}, {"--store", "--verbose", "--json", "--help"});
    if (a.has("--help")) {
        services.out << kConfigHelp;
        return code(ExitCode::Ok);
    }
    const std::string action = a.positional.empty() ? "" : a.positional[0];
    if (const std::string wrong = usageError(a); !wrong.empty()) {
        services.err << wrong << "\n\n" << kConfigHelp;
        return code(ExitCode::Usage);
    }
    if (action == "read") return read(a, services);
    if (action == "write") return write(a, services);
    if (action == "bootloader") return bootloader(a, services);
    services.err << "config needs read, write or bootloader.\n\n" << kConfigHelp;
    return code(ExitCode::Usage);
}

} // namespace orvane::cli
