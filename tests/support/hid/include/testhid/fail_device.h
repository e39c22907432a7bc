// A scripted HID device for tests of the library and its callers: reports are queued by
// the test, faults are switched on by the test, and every handle and transfer is counted.
#ifndef TESTHID_FAIL_DEVICE_H
#define TESTHID_FAIL_DEVICE_H

#include "backend.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace testhid {

class FailDevice : public std::enable_shared_from_this<FailDevice> {
public:
    explicit FailDevice(tavrel::DeviceInfo info);

    // The device as an enumeration lists it.
    const tavrel::DeviceInfo& info() const { return info_; }

    // Input reports as the system delivers them: report id first.
    void queueInput(std::vector<uint8_t> report);
    std::size_t queuedInput() const { return input_.size(); }

    // Faults.
    void unplug() { plugged_ = false; }
    void replug() { plugged_ = true; }
    void refuseOpen(tavrel::Access access, bool refuse);
    void failWrites(bool fail) { failWrites_ = fail; }
    void failReads(bool fail) { failReads_ = fail; }
    // A write moves only this many bytes (0: all of them).
    void shortWrites(std::size_t bytes) { shortWrite_ = bytes; }

    // What happened.
    const std::vector<std::vector<uint8_t>>& written() const { return written_; }
    int openHandles() const { return openHandles_; }
    int handlesOpened() const { return handlesOpened_; }
    int immediateReads() const { return immediateReads_; }
    int blockingReads() const { return blockingReads_; }

    // nullptr when refused or unplugged.
    std::unique_ptr<tavrel::DeviceHandle> open(tavrel::Access access);

private:
    class Handle;
    friend class Handle;

    tavrel::DeviceInfo info_;
    std::deque<std::vector<uint8_t>> input_;
    std::vector<std::vector<uint8_t>> written_;
    bool plugged_ = true;
    bool refuseRead_ = false;
    bool refuseWrite_ = false;
    bool failWrites_ = false;
    bool failReads_ = false;
    std::size_t shortWrite_ = 0;
    int openHandles_ = 0;
    int handlesOpened_ = 0;
    int immediateReads_ = 0;
    int blockingReads_ = 0;
};

// Convenience: a device record with the given ids, strings and report lengths.
tavrel::DeviceInfo makeDeviceInfo(std::string path, uint16_t vendorId, uint16_t productId,
                                  std::u16string product, uint16_t inputLength = 18,
                                  uint16_t outputLength = 8);

// A back end whose devices are FailDevices, listed in the order they were added.
class FakeBackend : public tavrel::Backend {
public:
    std::shared_ptr<FailDevice> add(tavrel::DeviceInfo info);
    void failEnumeration(bool fail) { failEnumeration_ = fail; }
    // The reason the back end gives for a refused open (0: it cannot tell).
    void setOpenError(int error) { openError_ = error; }
    int lastOpenError() const override { return openError_; }
    std::size_t lastLimit() const { return lastLimit_; }
    int enumerations() const { return enumerations_; }

    std::optional<std::vector<tavrel::DeviceInfo>> enumerate(std::size_t limit) override;
    std::unique_ptr<tavrel::DeviceHandle> open(const tavrel::DeviceInfo& device,
                                               tavrel::Access access) override;

private:
    std::vector<std::shared_ptr<FailDevice>> devices_;
    bool failEnumeration_ = false;
    int openError_ = 0;
    std::size_t lastLimit_ = 0;
    int enumerations_ = 0;
};

} // namespace testhid

#endif
