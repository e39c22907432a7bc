// list: what the library lists, and the known interfaces it finds beyond the listing.
#include <iomanip>
#include <ostream>

#include "cli/address_text.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/device_finder.h"
#include "cli/exit_codes.h"
#include "cli/json_text.h"

namespace orvane::cli {

namespace {

constexpr const char* kListHelp = R"(usage: orvane-cli list [--json]

Lists the HID devices that libtavrel sees and the R/C USB interfaces (and their boot
loader) it finds beyond its listing. The position in the first column is what --device N
takes.
)";

const char* kindOf(const FoundDevice& d) {
    if (d.bootLoader()) return "boot loader";
    return d.known ? "interface" : "other";
}

void printDevicesJson(const std::vector<FoundDevice>& devices, std::ostream& out) {
    out << "[";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const FoundDevice& d = devices[i];
        out << (i ? ",\n " : "\n ") << "{\"position\": " << i + 1
            << ", \"vendorId\": " << d.vendorId << ", \"productId\": " << d.productId
            << ", \"product\": " << jsonText(d.product)
            << ", \"manufacturer\": " << jsonText(d.manufacturer)
            << ", \"serialNumber\": " << jsonText(d.serialNumber)
            << ", \"inputReportLength\": " << d.inputReportLen
            << ", \"outputReportLength\": " << d.outputReportLen << ", \"kind\": \"" << kindOf(d)
            << "\", \"listed\": " << (d.listed ? "true" : "false") << "}";
    }
    out << (devices.empty() ? "]\n" : "\n]\n");
}

void printDevicesTable(const std::vector<FoundDevice>& devices, std::ostream& out) {
    // Ids as the program shows them (decimal) and in hexadecimal.
    out << std::left << std::setw(4) << "#" << std::setw(16) << "VID" << std::setw(16) << "PID"
        << std::setw(22) << "Product" << std::setw(16) << "Manufacturer" << std::setw(21)
        << "Serial" << std::setw(5) << "In" << std::setw(5) << "Out"
        << "Kind\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const FoundDevice& d = devices[i];
        out << std::setw(4) << i + 1 << std::setw(16) << idText(d.vendorId) << std::setw(16)
            << idText(d.productId) << std::setw(22) << d.product << std::setw(16) << d.manufacturer
            << std::setw(21) << d.serialNumber << std::setw(5) << d.inputReportLen << std::setw(5)
            << d.outputReportLen << kindOf(d) << (d.listed ? "" : " (probed)") << "\n";
    }
    if (devices.empty()) out << "(no HID device listed)\n";
}

} // namespace

int commandList(std::span<const std::string> words, CliServices& services) {
    const Arguments a = parseArguments(words, {"--device"}, {"--json", "--verbose", "--help"});
    if (a.has("--help")) {
        services.out << kListHelp;
        return code(ExitCode::Ok);
    }
    if (!a.error.empty() || !a.positional.empty()) {
        services.err << (a.error.empty() ? "list takes no arguments." : a.error) << "\n";
        return code(ExitCode::Usage);
    }
    const auto devices = findDevices(services.tavrel);
    if (a.has("--json"))
        printDevicesJson(devices, services.out);
    else
        printDevicesTable(devices, services.out);
    return code(ExitCode::Ok);
}

} // namespace orvane::cli
