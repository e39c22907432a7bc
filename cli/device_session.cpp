#include "cli/device_session.h"

#include <ostream>

#include "app/core/tavrel_api.h"
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

std::string noAccessMessage(const FoundDevice& device) {
    return "The device " + device.product + " (serial " + device.serialNumber +
           ") was found but cannot be opened: another program uses it, or you lack "
           "permission (install the udev rule: sudo cp packaging/70-orvane.rules "
           "/etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger).";
}

DeviceSession::DeviceSession(CliServices& services, std::string_view selector, Want want)
    : services_(services) {
    const auto devices = findDevices(services.tavrel);
    const auto chosen = chooseDevice(devices, selector, want);
    if (!chosen) {
        services.err << "No " << describe(want) << " found"
                     << (selector.empty() ? std::string{}
                                          : " for --device " + std::string(selector))
                     << ".\n";
        failure_ = ExitCode::NoDevice;
        return;
    }
    device_ = *chosen;
    if (!report::reportLengthFits(device_.inputReportLen) ||
        !report::reportLengthFits(device_.outputReportLen)) {
        services.err << "The device's reports (" << device_.inputReportLen << " and "
                     << device_.outputReportLen << " bytes) are longer than the 101 bytes "
                     << "this program handles.\n";
        failure_ = ExitCode::Failure;
        return;
    }
    if (!openDevice(services.tavrel, device_)) {
        services.err << noAccessMessage(device_) << "\n";
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
