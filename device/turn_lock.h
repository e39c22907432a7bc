// A lock taken in the order it was asked for. The library's reader thread asks again the
// moment its read returns; a plain mutex could hand the library to it over and over while
// the window's thread waits.
#ifndef ORVANE_DEVICE_TURN_LOCK_H
#define ORVANE_DEVICE_TURN_LOCK_H

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace orvane {

class TurnLock {
public:
    void lock() {
        std::unique_lock guard(mutex_);
        const std::uint64_t mine = next_++;
        turn_.wait(guard, [&] { return serving_ == mine; });
    }
    void unlock() {
        {
            const std::lock_guard guard(mutex_);
            ++serving_;
        }
        turn_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable turn_;
    std::uint64_t next_ = 0;
    std::uint64_t serving_ = 0;
};

} // namespace orvane

#endif
