#include <testhid/fail_device.h>

#include <algorithm>

namespace testhid {

class FailDevice::Handle final : public tavrel::DeviceHandle {
public:
    explicit Handle(std::shared_ptr<FailDevice> device) : device_(std::move(device)) {
        ++device_->openHandles_;
        ++device_->handlesOpened_;
    }
    ~Handle() override { --device_->openHandles_; }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    int read(std::span<uint8_t> report, tavrel::ReadWait wait) override {
        FailDevice& d = *device_;
        if (wait == tavrel::ReadWait::Immediate)
            ++d.immediateReads_;
        else
            ++d.blockingReads_;
        if (!d.plugged_ || d.failReads_) return -1;
        if (d.input_.empty()) {
            // A blocking read on an empty queue would hang the test: report it as failed.
            return wait == tavrel::ReadWait::Immediate ? 0 : -1;
        }
        const std::vector<uint8_t> next = std::move(d.input_.front());
        d.input_.pop_front();
        const std::size_t n = std::min(next.size(), report.size());
        std::copy_n(next.begin(), n, report.begin());
        return static_cast<int>(n);
    }

    int write(std::span<const uint8_t> report) override {
        FailDevice& d = *device_;
        if (!d.plugged_ || d.failWrites_) return -1;
        const std::size_t n =
            d.shortWrite_ != 0 ? std::min(d.shortWrite_, report.size()) : report.size();
        d.written_.emplace_back(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(n));
        return static_cast<int>(n);
    }

    bool connected() const override { return device_->plugged_; }

private:
    std::shared_ptr<FailDevice> device_;
};

FailDevice::FailDevice(tavrel::DeviceInfo info) : info_(std::move(info)) {}

void FailDevice::queueInput(std::vector<uint8_t> report) {
    input_.push_back(std::move(report));
}

void FailDevice::refuseOpen(tavrel::Access access, bool refuse) {
    (access == tavrel::Access::Read ? refuseRead_ : refuseWrite_) = refuse;
}

std::unique_ptr<tavrel::DeviceHandle> FailDevice::open(tavrel::Access access) {
    if (!plugged_) return nullptr;
    if (access == tavrel::Access::Read && refuseRead_) return nullptr;
    if (access == tavrel::Access::Write && refuseWrite_) return nullptr;
    return std::make_unique<Handle>(shared_from_this());
}

tavrel::DeviceInfo makeDeviceInfo(std::string path, uint16_t vendorId, uint16_t productId,
                                  std::u16string product, uint16_t inputLength,
                                  uint16_t outputLength) {
    tavrel::DeviceInfo info;
    info.path = std::move(path);
    info.vendorId = vendorId;
    info.productId = productId;
    info.product = std::move(product);
    info.inputReportLength = inputLength;
    info.outputReportLength = outputLength;
    return info;
}

std::shared_ptr<FailDevice> FakeBackend::add(tavrel::DeviceInfo info) {
    devices_.push_back(std::make_shared<FailDevice>(std::move(info)));
    return devices_.back();
}

std::optional<std::vector<tavrel::DeviceInfo>> FakeBackend::enumerate(std::size_t limit) {
    ++enumerations_;
    lastLimit_ = limit;
    if (failEnumeration_) return std::nullopt;
    std::vector<tavrel::DeviceInfo> out;
    for (const auto& device : devices_) {
        if (out.size() >= limit) break;
        out.push_back(device->info());
    }
    return out;
}

std::unique_ptr<tavrel::DeviceHandle> FakeBackend::open(const tavrel::DeviceInfo& device,
                                                        tavrel::Access access) {
    for (const auto& candidate : devices_)
        if (candidate->info().path == device.path) return candidate->open(access);
    return nullptr;
}

} // namespace testhid
