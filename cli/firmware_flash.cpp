// firmware flash: waits for the boot loader, then erases, programs, verifies and resets the
// interface through the same boot-loader sequences as the firmware dialog.
#include "cli/firmware_flash.h"

#include <charconv>
#include <cstdio>
#include <ostream>
#include <random>
#include <thread>

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
    void setProgressMaximum(int maximum) override { maximum_ = std::max(maximum, 1); }
    void setProgress(int value) override {
        if (!bar_ || value == 0) return;
        constexpr int kWidth = 40;
        const int filled = value * kWidth / maximum_;
        out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] "
             << value * 100 / maximum_ << " %" << std::flush;
        if (value >= maximum_) out_ << "\n";
    }
    void step(std::string_view name) {
        if (bar_) out_ << name << "\n";
    }

private:
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

int stopped(CliServices& services, const firmware::BootLoader& loader, const char* operation,
            firmware::OperationOutcome outcome) {
    if (outcome == firmware::OperationOutcome::Mismatch) {
        services.err << "Verify found the interface's flash different from the file.\n";
        return code(ExitCode::VerifyMismatch);
    }
    services.err << operation << " failed";
    if (const auto& failure = loader.lastFailure()) {
        char address[16];
        std::snprintf(address, sizeof address, "0x%04X", failure->addressValue);
        services.err << " at address " << address << ": " << failure->what;
    }
    services.err << "; the interface stays in its boot loader, run the update again from the "
                    "start.\n";
    return code(ExitCode::NoAnswer);
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
            services.out << "Waiting for the boot loader (up to " << *wait << " s)...\n";
            if (normalMode)
                services.out << "The interface is in normal mode; orvane-cli config bootloader "
                                "switches it into its boot loader.\n";
            services.out << std::flush;
            told = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    if (!found && normalMode) {
        services.err << "No boot loader found: the interface is in normal mode; switch it into "
                        "its boot loader with orvane-cli config bootloader, then run firmware "
                        "flash again.\n";
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
    view.step("Erasing");
    if (const auto o = loader.eraseMemory(); o != firmware::OperationOutcome::Completed)
        return stopped(services, loader, "Erase", o);
    view.step("Programming");
    if (const auto o = loader.uploadMemory(image); o != firmware::OperationOutcome::Completed)
        return stopped(services, loader, "Program", o);
    view.step("Verifying");
    if (const auto o = loader.verifyMemory(image); o != firmware::OperationOutcome::Completed)
        return stopped(services, loader, "Verify", o);
    loader.reset(); // the interface restarts at once; its answer may not come
    services.out << "Firmware written and verified; the interface restarts.\n";
    return code(ExitCode::Ok);
}

} // namespace orvane::cli
