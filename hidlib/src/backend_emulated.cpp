// Emulated devices on the software bus, listed instead of the real ones.
#include "backend.h"

#include <emulator/bus.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

namespace tavrel {

namespace {

class EmulatedHandle final : public DeviceHandle {
public:
    EmulatedHandle(std::shared_ptr<emu::Bus> bus, std::unique_ptr<emu::Port> port)
        : bus_(std::move(bus)), port_(std::move(port)) {}

    int read(std::span<uint8_t> report, ReadWait wait) override {
        try {
            if (wait == ReadWait::Immediate) return port_->read(report);
            return port_->readBlocking(report, std::nullopt);
        } catch (...) {
            return -1;
        }
    }

    int readFor(std::span<uint8_t> report, std::chrono::milliseconds timeout) override {
        try {
            return port_->readBlocking(report, std::max(timeout, std::chrono::milliseconds{0}));
        } catch (...) {
            return -1;
        }
    }

    int write(std::span<const uint8_t> report) override {
        try {
            return port_->write(report);
        } catch (...) {
            return -1;
        }
    }

    bool connected() const override { return port_->connected(); }

private:
    std::shared_ptr<emu::Bus> bus_; // the port lives on the bus: keep it alive
    std::unique_ptr<emu::Port> port_;
};

uint16_t reportLength(int length) {
    return static_cast<uint16_t>(std::clamp(length, 0, 0xFFFF));
}

class EmulatedBackend final : public Backend {
public:
    explicit EmulatedBackend(std::shared_ptr<emu::Bus> bus) : bus_(std::move(bus)) {}

    std::optional<std::vector<DeviceInfo>> enumerate(std::size_t limit) override {
        std::vector<DeviceInfo> devices;
        if (!bus_) return devices; // a device list that could not be read lists nothing
        try {
            for (const emu::ListedDevice& d : bus_->list()) {
                if (devices.size() >= limit) break;
                DeviceInfo info;
                info.path = d.path;
                info.vendorId = d.vid;
                info.productId = d.pid;
                info.product = d.product;
                info.manufacturer = d.manufacturer;
                info.serialNumber = d.serial;
                info.inputReportLength = reportLength(d.inLen);
                info.outputReportLength = reportLength(d.outLen);
                devices.push_back(std::move(info));
            }
        } catch (...) {
            return std::nullopt;
        }
        return devices;
    }

    std::unique_ptr<DeviceHandle> open(const DeviceInfo& device, Access) override {
        lastOpenError_ = ENODEV;
        if (!bus_) return nullptr;
        try {
            auto port = bus_->open(device.path);
            if (!port) {
                // A locked device stands for a hidraw node the user may not open.
                if (isLocked(device.path)) lastOpenError_ = EACCES;
                return nullptr;
            }
            return std::make_unique<EmulatedHandle>(bus_, std::move(port));
        } catch (...) {
            lastOpenError_ = EIO;
            return nullptr;
        }
    }

    int lastOpenError() const override { return lastOpenError_; }

private:
    bool isLocked(std::string_view path) const {
        const auto listed = bus_->list();
        return std::any_of(listed.begin(), listed.end(),
                           [&](const emu::ListedDevice& d) { return d.path == path && d.locked; });
    }

    std::shared_ptr<emu::Bus> bus_;
    int lastOpenError_ = 0;
};

} // namespace

std::unique_ptr<Backend> makeEmulatedBackend(std::string_view deviceList, std::string statePath) {
    std::shared_ptr<emu::Bus> bus;
    try {
        std::string error;
        if (auto entries = emu::parseDeviceList(deviceList, &error))
            bus = std::make_shared<emu::Bus>(std::move(*entries), std::move(statePath));
        else
            // A mistyped setting would otherwise look like an empty bus with no hint why.
            std::fprintf(stderr, "%s\n", error.c_str());
    } catch (...) {
        bus.reset();
    }
    return std::make_unique<EmulatedBackend>(std::move(bus));
}

} // namespace tavrel
