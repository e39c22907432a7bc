#include "hidraw_handle.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <unistd.h>

namespace tavrel {

namespace {

class HidrawHandle final : public DeviceHandle {
public:
    HidrawHandle(int fd, bool numbered) : fd_(fd), numbered_(numbered) {}
    ~HidrawHandle() override {
        if (fd_ >= 0) ::close(fd_);
    }
    HidrawHandle(const HidrawHandle&) = delete;
    HidrawHandle& operator=(const HidrawHandle&) = delete;

    int read(std::span<uint8_t> report, ReadWait wait) override {
        return readWithin(report, wait == ReadWait::Immediate ? 0 : -1);
    }

    int readFor(std::span<uint8_t> report, std::chrono::milliseconds timeout) override {
        const auto ms = std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INT32_MAX);
        return readWithin(report, static_cast<int>(ms));
    }

    int write(std::span<const uint8_t> report) override {
        if (report.empty() || !connected_) return -1;
        // hidraw takes the report id first in both cases; the kernel drops a 0 id before
        // the report goes to a device without numbered reports.
        ssize_t n = 0;
        do {
            n = ::write(fd_, report.data(), report.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0) return fail();
        return static_cast<int>(n);
    }

    bool connected() const override { return connected_; }

private:
    // timeoutMs: 0 looks once, -1 waits for ever; the wait is poll on the node.
    int readWithin(std::span<uint8_t> report, int timeoutMs) {
        if (report.empty() || (!numbered_ && report.size() < 2) || !connected_) return -1;
        // hidraw puts the report id first only for numbered reports; the library always
        // does, with 0 for a device that has none.
        const std::span<uint8_t> target = numbered_ ? report : report.subspan(1);
        if (!waitForReport(timeoutMs)) return connected_ ? 0 : -1;
        ssize_t n = 0;
        do {
            n = ::read(fd_, target.data(), target.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
        // An end of file or an error: the device has gone.
        if (n <= 0) return fail();
        if (numbered_) return static_cast<int>(n);
        report[0] = 0;
        return static_cast<int>(n) + 1;
    }

    // True when a report can be read; false when none came in time or the device left.
    bool waitForReport(int timeoutMs) {
        pollfd p{fd_, POLLIN, 0};
        for (;;) {
            const int ready = ::poll(&p, 1, timeoutMs);
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0) return fail() >= 0;
            if (ready == 0) return false;
            if ((p.revents & POLLIN) != 0) return true;
            return fail() >= 0; // POLLERR, POLLHUP or POLLNVAL without data
        }
    }

    int fail() {
        connected_ = false;
        return -1;
    }

    int fd_;
    bool numbered_;
    bool connected_ = true;
};

} // namespace

std::unique_ptr<DeviceHandle> makeHidrawHandle(int fd, bool numberedReports) {
    return std::make_unique<HidrawHandle>(fd, numberedReports);
}

} // namespace tavrel
