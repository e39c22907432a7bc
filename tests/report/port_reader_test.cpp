// The port's reading thread against a port on the real clock: what comes reaches the
// listener in order; an exchange under a Pause gets its own answer and no read of the
// thread overlaps it; a failing device is not spun on; the thread ends promptly.
#include "report/port_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <thread>
#include <mutex>
#include <vector>

namespace orvane::report {
namespace {

using namespace std::chrono_literals;

// Reports put by the test become readable at once; a read waits for one, blocking.
class QueuePort final : public ReportPort {
public:
    void put(uint8_t id) {
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(id);
        }
        arrived_.notify_all();
    }
    int write(std::span<const uint8_t, kReportBufferSize>) override { return failing ? -1 : 8; }
    int read(std::span<uint8_t, kReportBufferSize> report) override { return readFor(report, 0ms); }
    int readFor(std::span<uint8_t, kReportBufferSize> report,
                std::chrono::milliseconds timeout) override {
        if (++inRead_ > 1) overlapped = true;
        calls.fetch_add(1);
        int n = 0;
        if (failing) {
            n = -1;
        } else {
            std::unique_lock lock(mutex_);
            if (arrived_.wait_for(lock, timeout, [&] { return !queue_.empty(); })) {
                report[0] = queue_.front();
                queue_.pop_front();
                n = 18;
            }
        }
        --inRead_;
        if (n > 0) handOn(report, n, std::chrono::steady_clock::now());
        return n;
    }

    std::atomic<bool> failing = false;
    std::atomic<bool> overlapped = false;
    std::atomic<long> calls = 0;

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<uint8_t> queue_;
    std::atomic<int> inRead_ = 0;
};

struct Heard final : ReportListener {
    void reportArrived(std::span<const uint8_t> report,
                       std::chrono::steady_clock::time_point) override {
        const std::lock_guard lock(mutex);
        ids.push_back(report[0]);
    }
    std::vector<uint8_t> copy() {
        const std::lock_guard lock(mutex);
        return ids;
    }
    std::mutex mutex;
    std::vector<uint8_t> ids;
};

bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i)
        std::this_thread::sleep_for(10ms);
    return done();
}

TEST(PortReader, ReportsReachTheListenerInOrderAndAnExchangeUnderAPauseGetsItsAnswer) {
    QueuePort port;
    Heard heard;
    ListenerRegistration registration(port, heard);
    PortReader reader(port, 20ms);
    for (uint8_t id = 1; id <= 5; ++id)
        port.put(id);
    ASSERT_TRUE(eventually([&] { return heard.copy().size() == 5; }));
    EXPECT_EQ(heard.copy(), (std::vector<uint8_t>{1, 2, 3, 4, 5}));

    for (int round = 0; round < 20; ++round) {
        const auto pause = reader.pause();
        const long reads = reader.reads();
        ReportBuffer answer{};
        port.put(0xF9);
        ASSERT_EQ(port.readFor(answer, 100ms), 18);
        EXPECT_EQ(answer[0], 0xF9) << "the thread took the answer";
        EXPECT_EQ(reader.reads(), reads) << "the thread read while paused";
    }
    EXPECT_FALSE(port.overlapped) << "two reads were in flight at once";

    port.put(6);
    ASSERT_TRUE(eventually([&] { return heard.copy().size() == 26; })) << "reading resumed";
    EXPECT_EQ(heard.copy().back(), 6);
}

TEST(PortReader, AFailingDeviceIsNotSpunOnAndTheThreadEndsPromptly) {
    QueuePort port;
    port.failing = true;
    const auto start = std::chrono::steady_clock::now();
    {
        PortReader reader(port, 20ms);
        std::this_thread::sleep_for(350ms);
        EXPECT_TRUE(reader.failing());
    }
    const auto took = std::chrono::steady_clock::now() - start;
    // One attempt per retry pause: about 4 in 350 ms, never hundreds.
    EXPECT_LE(port.calls.load(), 10);
    EXPECT_LT(took, 2s) << "ending waited for more than one retry pause";
}

} // namespace
} // namespace orvane::report
