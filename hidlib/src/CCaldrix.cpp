#include <tavrel/CCaldrix.h>

#include "backend.h"
#include "device_strings.h"
#include "session.h"
#include "version.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

using tavrel::Access;
using tavrel::DeviceFilter;
using tavrel::DeviceIdentity;
using tavrel::DeviceInfo;
using tavrel::ReadWait;

namespace {

// How many interfaces each enumeration examines: this bounds the time of a call on
// machines with many HID devices.
constexpr std::size_t kListInterfaces = 20;
constexpr std::size_t kOpenInterfaces = 127;

// The shortened strings of a device when it passes the filters. A device without a
// product string is skipped; missing serial and manufacturer strings read as empty.
std::optional<DeviceIdentity> examine(const DeviceInfo& device, const DeviceFilter& filter) {
    if (!device.product) return std::nullopt;
    DeviceIdentity id;
    id.product = tavrel::shortenDeviceString(*device.product);
    if (!filter.matchesProduct(id.product)) return std::nullopt;
    if (!filter.matchesIds(device.vendorId, device.productId)) return std::nullopt;
    id.vendorId = device.vendorId;
    id.productId = device.productId;
    id.serialNumber = tavrel::shortenDeviceString(device.serialNumber.value_or(u""));
    id.manufacturer = tavrel::shortenDeviceString(device.manufacturer.value_or(u""));
    if (!filter.matchesSerialAndManufacturer(id.serialNumber, id.manufacturer)) return std::nullopt;
    return id;
}

DeviceFilter makeFilter(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                        const char* serialNumber, const char* product) {
    DeviceFilter filter;
    filter.vendorId = vendorId;
    filter.productId = productId;
    filter.manufacturer = tavrel::optionalText(manufacturer);
    filter.serialNumber = tavrel::optionalText(serialNumber);
    filter.product = tavrel::optionalText(product);
    return filter;
}

} // namespace

CCaldrix::CCaldrix() : CCaldrix(tavrel::Session::library()) {}

CCaldrix::CCaldrix(std::shared_ptr<tavrel::Session> session) : session_(std::move(session)) {}

CCaldrix::~CCaldrix() = default;

CCaldrix::CCaldrix(const CCaldrix& other) = default;

CCaldrix& CCaldrix::operator=(const CCaldrix& other) = default;

int32_t CCaldrix::GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                          const char* serialNumber, const char* product, mdeviceList* list,
                          int32_t maxCount) {
    if (list == nullptr) return -1;
    const DeviceFilter filter =
        makeFilter(vendorId, productId, manufacturer, serialNumber, product);
    const auto devices = session_->backend().enumerate(kListInterfaces);
    if (!devices) return 0; // the system's device listing is not reachable

    int32_t count = 0;
    for (const DeviceInfo& device : *devices) {
        const auto id = examine(device, filter);
        if (!id) continue;
        if (count >= maxCount) break;
        mdeviceList& entry = list[count];
        std::memset(&entry, 0, sizeof entry);
        tavrel::copyText(id->product, entry.product);
        tavrel::copyText(id->manufacturer, entry.manufacturer);
        tavrel::copyText(id->serialNumber, entry.serialNumber);
        entry.vendorId = id->vendorId;
        entry.productId = id->productId;
        entry.inputReportLength = device.inputReportLength;
        entry.outputReportLength = device.outputReportLength;
        ++count;
    }
    return count;
}

int32_t CCaldrix::Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                       const char* serialNumber, const char* product, int32_t overlapped) {
    const DeviceFilter filter =
        makeFilter(vendorId, productId, manufacturer, serialNumber, product);
    tavrel::Backend& backend = session_->backend();
    openError_ = ENODEV;
    const auto devices = backend.enumerate(kOpenInterfaces);
    if (!devices) return 0;

    for (const DeviceInfo& device : *devices) {
        const auto id = examine(device, filter);
        if (!id) continue;

        inputReportLength_ = device.inputReportLength;
        outputReportLength_ = device.outputReportLength;
        tavrel::copyText(id->serialNumber, serialNumber_);
        // Handles still open from an earlier Open are let go here rather than leaked.
        readHandle_.reset();
        writeHandle_.reset();
        session_->setOverlappedMode(overlapped != 0);

        std::shared_ptr<tavrel::DeviceHandle> reader = backend.open(device, Access::Read);
        if (!reader) return openFailed(backend);
        std::shared_ptr<tavrel::DeviceHandle> writer = backend.open(device, Access::Write);
        if (!writer) return openFailed(backend); // the read handle closes with reader
        readHandle_ = std::move(reader);
        writeHandle_ = std::move(writer);
        openError_ = 0;
        return 1;
    }
    return 0;
}

int32_t CCaldrix::openFailed(const tavrel::Backend& backend) {
    const int error = backend.lastOpenError();
    openError_ = error != 0 ? error : EIO;
    return 0;
}

int32_t CCaldrix::GetOpenError() const {
    return openError_;
}

void CCaldrix::CloseRead() {
    readHandle_.reset();
}

void CCaldrix::CloseWrite() {
    writeHandle_.reset();
}

void CCaldrix::GetReportLengths(int32_t* inputLength, int32_t* outputLength) const {
    if (inputLength != nullptr) *inputLength = inputReportLength_;
    if (outputLength != nullptr) *outputLength = outputReportLength_;
}

int32_t CCaldrix::Read(uint8_t* buffer) {
    return session_->overlappedMode() ? ReadAsync(buffer) : ReadSync(buffer);
}

int32_t CCaldrix::ReadAsync(uint8_t* buffer) {
    return readReport(buffer, ReadWait::Immediate);
}

int32_t CCaldrix::ReadSync(uint8_t* buffer) {
    return readReport(buffer, ReadWait::Forever);
}

int32_t CCaldrix::readReport(uint8_t* buffer, ReadWait wait) {
    if (!readHandle_ || buffer == nullptr || inputReportLength_ == 0) return -1;
    if (!readHandle_->connected()) return -1;
    const std::span<uint8_t> report(buffer, inputReportLength_);
    return placeReport(buffer, readHandle_->read(report, wait));
}

int32_t CCaldrix::ReadTimeout(uint8_t* buffer, int32_t timeoutMs) {
    if (!readHandle_ || buffer == nullptr || inputReportLength_ == 0) return -1;
    if (!readHandle_->connected()) return -1;
    const std::span<uint8_t> report(buffer, inputReportLength_);
    const std::chrono::milliseconds timeout{std::max<int32_t>(timeoutMs, 0)};
    return placeReport(buffer, readHandle_->readFor(report, timeout));
}

int32_t CCaldrix::placeReport(uint8_t* buffer, int n) {
    const std::span<uint8_t> report(buffer, inputReportLength_);
    if (n < 0) return -1;
    if (n == 0) return 0;
    // A short report still comes back as a whole one: the rest reads as zeros.
    const auto placed = static_cast<std::size_t>(std::min<int>(n, inputReportLength_));
    std::fill(report.begin() + static_cast<std::ptrdiff_t>(placed), report.end(), uint8_t{0});
    return inputReportLength_;
}

int32_t CCaldrix::Write(const uint8_t* buffer) {
    if (!writeHandle_ || buffer == nullptr || outputReportLength_ == 0) return -1;
    if (!writeHandle_->connected()) return -1;
    const int n = writeHandle_->write(std::span<const uint8_t>(buffer, outputReportLength_));
    if (n < 0) return -1;
    return n;
}

int32_t CCaldrix::GetLibVersion(char* buffer) const {
    if (buffer == nullptr) return -1;
    std::memcpy(buffer, tavrel::kLibVersion, sizeof tavrel::kLibVersion);
    return 0;
}
