// Real HID devices: listed through hidapi's hidraw flavour, opened as hidraw nodes.
#include "backend.h"
#include "hidraw_handle.h"
#include "report_descriptor.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <fcntl.h>
#include <set>

namespace tavrel {

namespace {

// hid_init when the back end starts, hid_exit when it goes; the handles do not need hidapi.
class HidapiRuntime {
public:
    HidapiRuntime() : ok_(hid_init() == 0) {}
    ~HidapiRuntime() {
        if (ok_) hid_exit();
    }
    HidapiRuntime(const HidapiRuntime&) = delete;
    HidapiRuntime& operator=(const HidapiRuntime&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};

struct EnumerationDeleter {
    void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};
using Enumeration = std::unique_ptr<hid_device_info, EnumerationDeleter>;

// hidapi hands out wchar_t text (UTF-32 here); the library wants UTF-16 units.
std::optional<std::u16string> toUtf16(const wchar_t* text) {
    if (text == nullptr) return std::nullopt;
    std::u16string out;
    for (; *text != L'\0'; ++text) {
        const auto cp = static_cast<uint32_t>(*text);
        if (cp > 0xFFFF && cp <= 0x10FFFF) {
            const uint32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp & 0xFFFF));
        }
    }
    return out;
}

class HidapiBackend final : public Backend {
public:
    HidapiBackend() : runtime_(std::make_shared<HidapiRuntime>()) {}

    std::optional<std::vector<DeviceInfo>> enumerate(std::size_t limit) override {
        if (!runtime_->ok()) return std::nullopt;
        const Enumeration list(hid_enumerate(0, 0));
        std::vector<DeviceInfo> devices;
        std::set<std::string> seen;
        for (const hid_device_info* d = list.get(); d != nullptr && devices.size() < limit;
             d = d->next) {
            // hidapi may list one hidraw node once per top-level collection; the system
            // has one interface per node.
            if (d->path == nullptr || !seen.insert(d->path).second) continue;
            DeviceInfo info;
            info.path = d->path;
            info.vendorId = d->vendor_id;
            info.productId = d->product_id;
            info.product = toUtf16(d->product_string);
            info.manufacturer = toUtf16(d->manufacturer_string);
            info.serialNumber = toUtf16(d->serial_number);
            if (const auto layout = readReportLayout(info.path)) {
                info.inputReportLength = layout->inputReportLength;
                info.outputReportLength = layout->outputReportLength;
            }
            devices.push_back(std::move(info));
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
    std::shared_ptr<HidapiRuntime> runtime_;
    int lastOpenError_ = 0;
};

} // namespace

std::unique_ptr<Backend> makeHidapiBackend() {
    return std::make_unique<HidapiBackend>();
}

} // namespace tavrel
