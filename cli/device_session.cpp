#include "cli/device_session.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>

#include "device/tavrel_api.h"
#include "report/report_buffer.h"

namespace orvane::cli {

namespace {
const char* describe(Want want) {
    switch (want) {
    case Want::Interface:
        return "R/C USB interface";
    case Want::BootLoader:
        return "boot loader";
    case Want::Any:
        return "HID device";
    }
    return "device";
}
} // namespace

std::string noAccessMessage(const FoundDevice& device, int openError) {
    const std::string name = device.product + " (serial " + device.serialNumber + ")";
    if (openError == EACCES || openError == EPERM)
        return "You lack permission to open " + name +
               ": install the udev rule (the package installs it; from the source folder: "
               "sudo cp packaging/70-orvane.rules /etc/udev/rules.d/ && sudo udevadm "
               "control --reload && sudo udevadm trigger), then reconnect the interface. The "
               "rule gives access to the user at the machine's screen; logged in over SSH or "
               "in a kiosk session, join the group plugdev (sudo usermod -aG plugdev $USER) "
               "and log in again.";
    return name + " was found but cannot be opened" +
           (openError > 0 ? " (" + std::string(std::strerror(openError)) + ")" : std::string()) +
           ": another program may be using it.";
}

std::string noDeviceMessage(const std::vector<FoundDevice>& devices, std::string_view selector,
                            Want want) {
    std::string text =
        "No " + std::string(describe(want)) + " found" +
        (selector.empty() ? std::string{} : " for --device " + std::string(selector)) + ".";
    if (want != Want::Interface) return text;
    // The same interface in its boot loader is listed under the loader's ids.
    const auto loader = std::find_if(devices.begin(), devices.end(),
                                     [](const FoundDevice& d) { return d.bootLoader(); });
    if (loader != devices.end())
        return text + " A boot loader is connected (serial " + loader->serialNumber +
               "): the interface waits for a firmware update; run orvane-cli firmware flash "
               "FILE.";
    return text + " Check that it is plugged in (another cable or USB port may help); "
                  "orvane-cli list shows what the system sees. A device listed there but not "
                  "opened may lack permission: install the udev rule (sudo cp "
                  "packaging/70-orvane.rules /etc/udev/rules.d/ && sudo udevadm control "
                  "--reload && sudo udevadm trigger) and reconnect it. An interface in its boot "
                  "loader is listed as \"boot loader\": it waits for orvane-cli firmware flash.";
}

DeviceSession::DeviceSession(CliServices& services, std::string_view selector, Want want)
    : services_(services) {
    const auto devices = findDevices(services.tavrel);
    const auto chosen = chooseDevice(devices, selector, want);
    if (!chosen) {
        services.err << noDeviceMessage(devices, selector, want) << "\n";
        failure_ = ExitCode::NoDevice;
        return;
    }
    device_ = *chosen;
    if (!report::reportLengthFits(device_.inputReportLen) ||
        !report::reportLengthFits(device_.outputReportLen)) {
        const bool negative = device_.inputReportLen < 0 || device_.outputReportLen < 0;
        services.err << "The device's report lengths (input " << device_.inputReportLen
                     << ", output " << device_.outputReportLen << " bytes) are "
                     << (negative ? "negative, so the library could not tell them"
                                  : "longer than the 101 bytes this program handles")
                     << ".\n";
        failure_ = ExitCode::Failure;
        return;
    }
    if (!openDevice(services.tavrel, device_)) {
        services.err << noAccessMessage(device_, services.tavrel.GetOpenError()) << "\n";
        failure_ = ExitCode::NoAccess;
        return;
    }
    open_ = true;
}

DeviceSession::~DeviceSession() {
    if (!open_) return;
    try {
        services_.tavrel.CloseRead();
        services_.tavrel.CloseWrite();
    } catch (...) {
        // Nothing is left to close when the library went away.
    }
}

} // namespace orvane::cli
