// firmware: check and encipher firmware files, and update the interface's firmware.
#include <ostream>
#include <vector>

#include "cli/address_text.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/firmware_flash.h"
#include "cli/json_text.h"
#include "firmware/core/cipher_wrappers.h"
#include "firmware/core/file_cipher_sodium.h"
#include "firmware/core/file_keys.h"
#include "firmware/core/firmware_loader.h"
#include "firmware/core/memory_image.h"

namespace orvane::cli {

namespace {

constexpr const char* kFirmwareHelp =
    R"(usage: orvane-cli firmware check FILE [--verbose | --json]
       orvane-cli firmware encrypt IN.hex -o OUT.enc
       orvane-cli firmware flash FILE.hex|FILE.enc [--wait SECONDS] [--device N|SERIAL]
                                 [--verbose]

check    reads a plain or enciphered firmware file exactly as an update would and prints
         what it would write (with --verbose every line, with --json as one JSON object:
         file, enciphered, records, lines, ranges, bytesLeftOut); it touches no device.
encrypt  checks a plain Intel HEX file, then enciphers it for distribution.
flash    reads the file first (a bad file touches no device, exit code 7), waits for the
         boot loader (up to --wait seconds, default 30), then erases, programs, verifies
         and resets the interface. Program reads every line back as it writes it. Exit
         code 5 when the boot loader stops answering or the restart cannot be sent, 6 when
         the flash reads back different from the file; the message says what the flash
         may hold. Put the interface into its boot loader first
         (orvane-cli config bootloader). With --verbose every report is shown: tx the
         request before the link cipher, rx the answer after it.
)";

struct Range {
    std::uint32_t first;
    std::uint32_t last;
};

// Runs of filled lines.
std::vector<Range> filledRanges(const firmware::MemoryImage& image) {
    std::vector<Range> ranges;
    std::size_t line = 0;
    while (line < firmware::kImageLines) {
        if (!image.lineFilled(line)) {
            ++line;
            continue;
        }
        const std::size_t first = line;
        while (line < firmware::kImageLines && image.lineFilled(line))
            ++line;
        ranges.push_back({firmware::MemoryImage::lineAddress(first),
                          firmware::MemoryImage::lineAddress(line) - 1});
    }
    return ranges;
}

// The same facts as the text, for scripts; addresses as "0x2000" texts.
void printCheckJson(const std::string& path, const firmware::LoadedFirmware& firmware,
                    std::ostream& out) {
    const auto& image = firmware.file.image;
    out << "{\"file\": " << jsonText(path)
        << ", \"enciphered\": " << (firmware.enciphered ? "true" : "false")
        << ", \"records\": " << firmware.file.records << ", \"lines\": " << image.filledLineCount()
        << ", \"ranges\": [";
    const auto ranges = filledRanges(image);
    for (std::size_t i = 0; i < ranges.size(); ++i)
        out << (i ? ", " : "") << "{\"first\": " << jsonText(addressText(ranges[i].first))
            << ", \"last\": " << jsonText(addressText(ranges[i].last)) << "}";
    out << "], \"bytesLeftOut\": " << firmware.file.bytesLeftOut << "}\n";
}

int check(const Arguments& a, CliServices& services) {
    if (a.positional.size() != 2) {
        services.err << "firmware check takes one file.\n";
        return code(ExitCode::Usage);
    }
    firmware::SodiumFileCipher cipher;
    const auto loaded = loadFirmwareOrSay(cipher, a.positional[1], services);
    if (!loaded) return code(ExitCode::BadFile);
    const auto& firmware = *loaded;
    const auto& image = firmware.file.image;
    std::ostream& out = services.out;
    if (a.has("--json")) {
        printCheckJson(a.positional[1], firmware, out);
        return code(ExitCode::Ok);
    }
    out << a.positional[1] << ": " << (firmware.enciphered ? "enciphered" : "plain")
        << " Intel HEX, " << firmware.file.records << " records, ok.\n";
    out << "Would erase 0x2000-0x5FFF (256 blocks of 64 bytes), then program and verify "
        << image.filledLineCount() << " lines of 16 bytes:";
    for (const auto& range : filledRanges(image))
        out << " " << addressText(range.first) << "-" << addressText(range.last);
    out << "\n";
    if (firmware.file.bytesLeftOut > 0)
        out << firmware.file.bytesLeftOut
            << " bytes outside 0x2000-0x5FFF are left out (they are not written).\n";
    if (a.has("--verbose")) {
        for (std::size_t line = 0; line < firmware::kImageLines; ++line) {
            if (!image.lineFilled(line)) continue;
            out << addressText(firmware::MemoryImage::lineAddress(line)) << ":";
            for (std::size_t i = 1; i <= firmware::kLineBytes; ++i)
                out << " " << image.entry(line, i);
            out << "\n";
        }
    }
    return code(ExitCode::Ok);
}

int encrypt(const Arguments& a, CliServices& services) {
    const auto output = a.value("-o");
    if (a.positional.size() != 2 || !output || output->empty()) {
        services.err << "firmware encrypt takes a plain HEX file and -o OUTPUT.\n";
        return code(ExitCode::Usage);
    }
    const std::string& input = a.positional[1];
    firmware::SodiumFileCipher cipher;
    // Only a good plain file is enciphered: a damaged one would be refused only on the
    // users' machines.
    const auto loaded = loadFirmwareOrSay(cipher, input, services);
    if (!loaded) return code(ExitCode::BadFile);
    if (loaded->enciphered) {
        services.err << input << " is enciphered already.\n";
        return code(ExitCode::BadFile);
    }
    const auto result = firmware::EncryptFile(cipher, firmware::kFirmwareSelector, input, *output,
                                              true, firmware::fileKey1(), firmware::fileKey2());
    if (!result.written) {
        services.err << (result.failure.empty() ? "Cannot write " + *output : result.failure)
                     << ".\n";
        return code(ExitCode::Failure);
    }
    services.out << "Enciphered " << input << " into " << *output << ".\n";
    return code(ExitCode::Ok);
}

} // namespace

int commandFirmware(std::span<const std::string> words, CliServices& services) {
    const Arguments a =
        parseArguments(words, {"--device", "-o", "--wait"}, {"--verbose", "--json", "--help"});
    if (a.has("--help")) {
        services.out << kFirmwareHelp;
        return code(ExitCode::Ok);
    }
    if (!a.error.empty() || a.positional.empty()) {
        services.err << (a.error.empty() ? "firmware needs check, encrypt or flash." : a.error)
                     << "\n";
        return code(ExitCode::Usage);
    }
    const std::string& action = a.positional[0];
    if (action == "check") return check(a, services);
    if (action == "encrypt") return encrypt(a, services);
    if (action == "flash") return firmwareFlash(a, services);
    services.err << "Unknown firmware action " << action << "; see orvane-cli firmware --help.\n";
    return code(ExitCode::Usage);
}

} // namespace orvane::cli
