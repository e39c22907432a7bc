// Real HID devices: listed from sysfs, opened as hidraw nodes.
#include "backend.h"
#include "hidraw_handle.h"
#include "report_descriptor.h"
#include "sysfs_listing.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <fcntl.h>

namespace tavrel {

namespace {

class HidrawBackend final : public Backend {
public:
    // Listed from sysfs, each file read on its own, so that a device that re-enumerates
    // while it is listed (a boot loader restarting, a replug) is only left out.
    std::optional<std::vector<DeviceInfo>> enumerate(std::size_t limit) override {
        auto devices = listHidrawNodes("/sys/class/hidraw", limit);
        for (DeviceInfo& info : devices) {
            if (const auto layout = readReportLayout(info.path)) {
                info.inputReportLength = layout->inputReportLength;
                info.outputReportLength = layout->outputReportLength;
            }
        }
        return devices;
    }

    // The hidraw node itself: reports move with read and write, waiting with poll.
    std::unique_ptr<DeviceHandle> open(const DeviceInfo& device, Access) override {
        lastOpenError_ = EIO;
        const int fd = ::open(device.path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            lastOpenError_ = errno != 0 ? errno : EIO;
            return nullptr;
        }
        const auto layout = readReportLayout(device.path);
        return makeHidrawHandle(fd, layout && layout->numberedReports);
    }

    int lastOpenError() const override { return lastOpenError_; }

private:
    int lastOpenError_ = 0;
};

} // namespace

std::unique_ptr<Backend> makeHidrawBackend() {
    return std::make_unique<HidrawBackend>();
}

} // namespace tavrel
