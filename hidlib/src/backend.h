// What the library needs from the system's HID services: a listing of HID interfaces and
// handles that move whole reports. One implementation per platform service (the hidraw
// nodes, the emulated bus); tests supply their own.
#ifndef TAVREL_BACKEND_H
#define TAVREL_BACKEND_H

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// One HID interface as the enumeration sees it, before any filter.
struct DeviceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    // As the device reports them; empty optional when the device has no such string.
    std::optional<std::u16string> product;
    std::optional<std::u16string> manufacturer;
    std::optional<std::u16string> serialNumber;
    // Largest report of each direction plus the report id byte; 0 when there is none.
    uint16_t inputReportLength = 0;
    uint16_t outputReportLength = 0;
};

enum class ReadWait { Immediate, Forever };

// An open device. Closing is the destructor's job.
class DeviceHandle {
public:
    virtual ~DeviceHandle() = default;
    // Puts the oldest waiting input report into report with its report id first (0 for a
    // device without numbered reports). Returns the bytes placed; 0 when nothing waits
    // (Immediate only); -1 on failure or when the device is gone.
    virtual int read(std::span<uint8_t> report, ReadWait wait) = 0;
    // The same, waiting at most timeout for a report to arrive; 0 when none came in time.
    // Back ends without a waitable only look once.
    virtual int readFor(std::span<uint8_t> report, std::chrono::milliseconds timeout) {
        (void)timeout;
        return read(report, ReadWait::Immediate);
    }
    // report[0] is the report id. Returns the bytes written or -1.
    virtual int write(std::span<const uint8_t> report) = 0;
    virtual bool connected() const = 0;
};

enum class Access { Read, Write };

class Backend {
public:
    virtual ~Backend() = default;
    // The first `limit` HID interfaces in the system's order; empty optional when the
    // system could not be asked at all.
    virtual std::optional<std::vector<DeviceInfo>> enumerate(std::size_t limit) = 0;
    // nullptr when the device cannot be opened (gone, no permission).
    virtual std::unique_ptr<DeviceHandle> open(const DeviceInfo& device, Access access) = 0;
    // Why the last open that failed did fail: the system's error number (EACCES: no
    // permission); 0 when the back end cannot tell.
    virtual int lastOpenError() const { return 0; }
};

// The back ends this build has. A back end that cannot start lists nothing.
std::unique_ptr<Backend> makeHidrawBackend();
std::unique_ptr<Backend> makeEmulatedBackend(std::string_view deviceList, std::string statePath);
// Emulated devices when TAVREL_EMULATOR is set (an empty value lists none), else the
// real ones.
std::unique_ptr<Backend> makeBackendFromEnvironment();

} // namespace tavrel

#endif
