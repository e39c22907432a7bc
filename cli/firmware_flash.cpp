// firmware flash: waits for the boot loader, then erases, programs, verifies and resets the
// interface through the same boot-loader sequences as the firmware dialog.
#include "cli/firmware_flash.h"

#include <charconv>
#include <cstdio>
#include <ostream>
#include <random>
#include <thread>
#include <vector>

#include "cli/address_text.h"
#include "cli/device_session.h"
#include "firmware/core/boot_loader.h"
#include "firmware/core/file_cipher_sodium.h"
#include "firmware/core/firmware_loader.h"

namespace orvane::cli {

namespace {

// Console lines of the sequences on the terminal: a bar that redraws itself there, the
// sequence's own lines elsewhere; with --verbose also every report exchanged.
class CliUpdateView final : public firmware::UpdateView {
public:
    CliUpdateView(CliServices& services, bool verbose)
        : out_(services.out), bar_(services.terminal && !verbose), verbose_(verbose) {}

    void replaceConsole(std::string_view text) override { appendConsole(text); }
    void appendConsole(std::string_view text) override {
        if (!verbose_ && !bar_ && text.find("\r\n") == std::string_view::npos &&
            text.ends_with("... ")) {
            print(text); // "erasing... " then "ok." on the same line
            return;
        }
        if (!verbose_ && bar_) return;
        print(text);
    }
    // The request as sent (before the link cipher) and the answer as read (after it).
    void exchanged(const firmware::BootLoaderLink& link, const firmware::SendResult& result) {
        if (!verbose_) return;
        if (!lineStart_) print("\n");
        print("tx: " + link.OutputReportID + " " + link.WriteBuffer + "\n");
        print(result.answered() ? "rx: " + link.InputReportID + " " + link.ReadBuffer + "\n"
                                : "rx: none (" + firmware::describeOutcome(result.outcome) + ")\n");
    }
    // The command line says why an operation stopped once, on stderr, in its own address
    // style: here only the open "erasing... " line is closed.
    void operationStopped(const std::string&, const firmware::StepFailure&) override {
        closeLine();
    }
    void byteDiffers(int, int, int address) override { differingBytes_.push_back(address); }
    void linesDiffer(const std::string&, int, int) override { closeLine(); }
    const std::vector<int>& differingBytes() const { return differingBytes_; }

    void setProgressMaximum(int maximum) override { maximum_ = std::max(maximum, 1); }
    void setProgress(int value) override {
        if (!bar_ || value == 0) return;
        constexpr int kWidth = 40;
        const int filled = value * kWidth / maximum_;
        out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] "
             << value * 100 / maximum_ << " %" << std::flush;
        barOpen_ = value < maximum_;
        if (!barOpen_) out_ << "\n";
    }
    void step(std::string_view name) {
        if (bar_) out_ << name << "\n";
    }

private:
    // The message that follows begins on a line of its own.
    void closeLine() {
        if (barOpen_) out_ << "\n" << std::flush;
        barOpen_ = false;
        if (!lineStart_) print("\n");
    }
    void print(std::string_view text) {
        for (char c : text)
            if (c != '\r') out_ << c;
        if (!text.empty()) lineStart_ = text.back() == '\n';
        out_ << std::flush;
    }

    std::ostream& out_;
    bool bar_;
    bool verbose_;
    int maximum_ = 1;
    bool lineStart_ = true;
    bool barOpen_ = false;
    std::vector<int> differingBytes_;
};

std::optional<int> waitSeconds(const Arguments& a) {
    const auto text = a.value("--wait");
    if (!text) return 30;
    int n = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), n);
    if (ec != std::errc{} || end != text->data() + text->size() || n < 0 || n > 3600)
        return std::nullopt;
    return n;
}

// What the application area may hold, and what to do about it.
const char* flashStateText(firmware::FlashState state) {
    switch (state) {
    case firmware::FlashState::AsIntended:
        return "";
    case firmware::FlashState::PartlyErased:
        return "The application area may be partly erased";
    case firmware::FlashState::PartlyProgrammed:
        return "The application area may be partly programmed";
    case firmware::FlashState::NotTheFile:
        return "The flash does not hold the file";
    case firmware::FlashState::Unchecked:
        return "The flash was written but not checked";
    }
    return "";
}

int stopped(CliServices& services, const firmware::BootLoader& loader, const CliUpdateView& view,
            firmware::Operation operation, firmware::OperationOutcome outcome) {
    const char* name = operation == firmware::Operation::Erase     ? "Erase"
                       : operation == firmware::Operation::Program ? "Program"
                                                                   : "Verify";
    const bool mismatch = outcome == firmware::OperationOutcome::Mismatch;
    if (mismatch) {
        const auto& c = loader.lastComparison();
        services.err << name
                     << (operation == firmware::Operation::Program ? " read back " : " found ")
                     << c.differing << " of " << c.compared
                     << " lines different from the file, the first at "
                     << addressText(static_cast<std::uint32_t>(c.firstAddress));
        if (operation == firmware::Operation::Verify && !view.differingBytes().empty()) {
            services.err << " (bytes";
            for (const int address : view.differingBytes())
                services.err << " " << addressText(static_cast<std::uint32_t>(address));
            services.err << ")";
        }
        if (operation == firmware::Operation::Program)
            services.err << "; the area may not have been erased";
    } else {
        services.err << name << " failed";
        if (const auto& failure = loader.lastFailure())
            services.err << " at address "
                         << addressText(static_cast<std::uint32_t>(failure->addressValue))
                         << (operation == firmware::Operation::Erase ? " (the block there)" : "")
                         << ": " << failure->what;
    }
    services.err << ". " << flashStateText(firmware::flashStateAfter(operation, outcome))
                 << ": the interface stays in its boot loader; run orvane-cli firmware flash "
                    "again, it erases, programs and verifies from the start.\n";
    return code(mismatch ? ExitCode::VerifyMismatch : ExitCode::NoAnswer);
}

} // namespace

std::optional<firmware::LoadedFirmware>
loadFirmwareOrSay(firmware::FileCipher& cipher, const std::string& path, CliServices& services) {
    auto loaded = firmware::loadFirmwareFile(cipher, path);
    if (const auto* error = std::get_if<std::string>(&loaded)) {
        services.err << *error << "\n";
        return std::nullopt;
    }
    return std::move(std::get<firmware::LoadedFirmware>(loaded));
}

int firmwareFlash(const Arguments& a, CliServices& services) {
    const auto wait = waitSeconds(a);
    if (a.positional.size() != 2 || !wait) {
        services.err << (wait ? "firmware flash takes one file."
                              : "--wait takes a number of seconds from 0 to 3600.")
                     << "\n";
        return code(ExitCode::Usage);
    }
    // The file is read whole before any device is touched: a bad file writes nothing.
    firmware::SodiumFileCipher cipher;
    const auto loaded = loadFirmwareOrSay(cipher, a.positional[1], services);
    if (!loaded) return code(ExitCode::BadFile);
    const firmware::MemoryImage& image = loaded->file.image;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(*wait);
    const std::string selector = a.value("--device").value_or("");
    bool told = false;
    bool hinted = false; // the normal-mode hint was printed
    bool found = false;
    bool normalMode = false; // an interface that runs its firmware, not its boot loader
    for (;;) {
        const auto devices = findDevices(services.tavrel);
        // A list position names any device: only a boot loader is taken.
        const auto chosen = chooseDevice(devices, selector, Want::BootLoader);
        found = chosen && chosen->bootLoader();
        if (!found) {
            const auto normal = chosen ? chosen : chooseDevice(devices, selector, Want::Interface);
            normalMode = normal && normal->known && !normal->bootLoader();
        }
        if (found || std::chrono::steady_clock::now() >= deadline) break;
        if (!told) {
            services.out << "Waiting for the boot loader (up to " << *wait << " s)...\n"
                         << std::flush;
            told = true;
        }
        if (normalMode && !hinted) {
            services.out << "The interface is in normal mode; orvane-cli config bootloader "
                            "switches it into its boot loader.\n"
                         << std::flush;
            hinted = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    if (!found && normalMode) {
        // Told once: while waiting, or now.
        if (hinted)
            services.err << "No boot loader found within " << *wait << " s.\n";
        else
            services.err << "No boot loader found: the interface is in normal mode; switch it "
                            "into its boot loader with orvane-cli config bootloader, then run "
                            "firmware flash again.\n";
        return code(ExitCode::NoDevice);
    }
    if (!found && !selector.empty()) {
        services.err << "No boot loader found for --device " << selector << ".\n";
        return code(ExitCode::NoDevice);
    }
    DeviceSession session(services, selector, Want::BootLoader);
    if (const auto failure = session.failure()) return code(*failure);

    const bool verbose = a.has("--verbose");
    CliUpdateView view(services, verbose);
    firmware::BootLoaderLink link(services.port, services.clock, view);
    link.reportFailures = false; // each failure is told once, below
    link.onExchange = [&view](const firmware::BootLoaderLink& l, const firmware::SendResult& r) {
        view.exchanged(l, r);
    };
    link.InputReportLen = session.device().inputReportLen;
    link.OutputReportLen = session.device().outputReportLen;
    firmware::BootLoader loader(link, view);
    firmware::LinkRandom random(std::random_device{}());

    const auto probe = loader.probe(random);
    if (!probe.valid) {
        services.err << "The boot loader was found but did not answer its probe.\n";
        return code(ExitCode::NoAnswer);
    }
    services.out << "Boot loader " << probe.major << "." << probe.minor << " found.\n";
    if (!loader.start(random).answered()) {
        services.err << "The boot loader did not answer the start command.\n";
        return code(ExitCode::NoAnswer);
    }
    using firmware::Operation;
    view.step("Erasing");
    if (const auto o = loader.eraseMemory(); o != firmware::OperationOutcome::Completed)
        return stopped(services, loader, view, Operation::Erase, o);
    view.step("Programming");
    if (const auto o = loader.uploadMemory(image); o != firmware::OperationOutcome::Completed)
        return stopped(services, loader, view, Operation::Program, o);
    view.step("Verifying");
    if (const auto o = loader.verifyMemory(image); o != firmware::OperationOutcome::Completed)
        return stopped(services, loader, view, Operation::Verify, o);
    // The interface restarts at once, so a missing answer is no failure; a request that did
    // not go out is: the interface then stays in its boot loader.
    const auto reset = loader.reset();
    if (reset.outcome == firmware::LinkOutcome::WriteFailed ||
        reset.outcome == firmware::LinkOutcome::WriteShort) {
        services.err << "Firmware written and verified, but the restart command could not be "
                        "sent ("
                     << firmware::describeOutcome(reset.outcome)
                     << "): the interface stays in its boot loader. Run orvane-cli firmware "
                        "flash again to restart it; unplugging it alone brings it back into its "
                        "boot loader.\n";
        return code(ExitCode::NoAnswer);
    }
    services.out << "Firmware written and verified; the interface restarts.\n";
    return code(ExitCode::Ok);
}

} // namespace orvane::cli
