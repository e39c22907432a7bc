#include "state_saver.h"

#include "state_file.h"

namespace emu {

StateSaver::StateSaver(std::string path, StateWriter writer)
    : path_(std::move(path)), writer_(writer ? std::move(writer) : StateWriter(writeStateFile)) {}

StateSaver::~StateSaver() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void StateSaver::submit(std::string text) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(text);
        ++submitted_;
        if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
    }
    changed_.notify_all();
}

void StateSaver::flush() {
    std::unique_lock lock(mutex_);
    const uint64_t target = submitted_;
    changed_.wait(lock, [&] { return written_ >= target; });
}

void StateSaver::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return pending_ || stopping_; });
        if (!pending_) return; // stopping, and everything is written
        const std::string text = std::move(*pending_);
        pending_.reset();
        const uint64_t sequence = submitted_;
        lock.unlock();
        try {
            writer_(path_, text);
        } catch (...) {
            // A state file that cannot be written only costs persistence.
        }
        lock.lock();
        written_ = sequence;
        changed_.notify_all();
    }
}

} // namespace emu
