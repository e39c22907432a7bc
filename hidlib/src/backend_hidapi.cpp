// Real HID devices through hidapi's hidraw flavour.
#include "backend.h"
#include "node_access.h"
#include "report_descriptor.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <set>

namespace tavrel {

namespace {

// hid_init on the first use, hid_exit once the back end and every handle are gone.
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

struct DeviceDeleter {
    void operator()(hid_device* device) const { hid_close(device); }
};
using HidDevice = std::unique_ptr<hid_device, DeviceDeleter>;

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

class HidrawHandle final : public DeviceHandle {
public:
    HidrawHandle(std::shared_ptr<HidapiRuntime> runtime, HidDevice device, bool numbered)
        : runtime_(std::move(runtime)), device_(std::move(device)), numbered_(numbered) {}

    int read(std::span<uint8_t> report, ReadWait wait) override {
        return readWithin(report, wait == ReadWait::Immediate ? 0 : -1);
    }

    // hidapi waits with poll on the hidraw descriptor: no spinning, no fixed sleeps.
    int readFor(std::span<uint8_t> report, std::chrono::milliseconds timeout) override {
        const auto ms = std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INT32_MAX);
        return readWithin(report, static_cast<int>(ms));
    }

    // timeoutMs: 0 looks once, -1 waits for ever.
    int readWithin(std::span<uint8_t> report, int timeoutMs) {
        if (report.empty()) return -1;
        // hidraw puts the report id first only for numbered reports; the library always
        // does, with 0 for a device that has none.
        const std::span<uint8_t> target = numbered_ ? report : report.subspan(1);
        const int n = hid_read_timeout(device_.get(), target.data(), target.size(), timeoutMs);
        if (n < 0) {
            connected_ = false;
            return -1;
        }
        // Without a report the caller's buffer stays as it was.
        if (n == 0) return 0;
        if (numbered_) return n;
        report[0] = 0;
        return n + 1;
    }

    int write(std::span<const uint8_t> report) override {
        // hidraw takes the report id first in both cases and drops a 0 id itself.
        const int n = hid_write(device_.get(), report.data(), report.size());
        if (n < 0) connected_ = false;
        return n;
    }

    bool connected() const override { return connected_; }

private:
    std::shared_ptr<HidapiRuntime> runtime_; // outlives device_, declared first
    HidDevice device_;
    bool numbered_;
    bool connected_ = true;
};

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

    std::unique_ptr<DeviceHandle> open(const DeviceInfo& device, Access) override {
        lastOpenError_ = EIO;
        if (!runtime_->ok()) return nullptr;
        HidDevice handle(hid_open_path(device.path.c_str()));
        if (!handle) {
            const int error = nodeOpenError(device.path);
            // The node opened this time: whatever stopped hidapi was not the node itself.
            lastOpenError_ = error != 0 ? error : EIO;
            return nullptr;
        }
        const auto layout = readReportLayout(device.path);
        const bool numbered = layout && layout->numberedReports;
        return std::make_unique<HidrawHandle>(runtime_, std::move(handle), numbered);
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
