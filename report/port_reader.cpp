#include "report/port_reader.h"

namespace orvane::report {

PortReader::PortReader(ReportPort& port, std::chrono::milliseconds wait)
    : port_(port), wait_(wait), thread_([this] { run(); }) {}

PortReader::~PortReader() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

PortReader::Pause::Pause(PortReader& reader) : reader_(&reader) {
    std::unique_lock lock(reader.mutex_);
    ++reader.pauses_;
    reader.changed_.wait(lock, [&] { return !reader.reading_; });
}

PortReader::Pause::~Pause() {
    if (!reader_) return;
    {
        const std::lock_guard lock(reader_->mutex_);
        --reader_->pauses_;
    }
    reader_->changed_.notify_all();
}

long PortReader::reads() const {
    const std::lock_guard lock(mutex_);
    return reads_;
}

bool PortReader::failing() const {
    const std::lock_guard lock(mutex_);
    return failing_;
}

void PortReader::run() {
    ReportBuffer buffer{};
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || pauses_ == 0; });
        if (stopping_) return;
        reading_ = true;
        lock.unlock();
        const auto started = std::chrono::steady_clock::now();
        int n = -1;
        try {
            n = port_.readFor(buffer, wait_);
        } catch (...) {
            // A library that cannot read at all: the windows' own exchanges say why.
        }
        const auto took = std::chrono::steady_clock::now() - started;
        lock.lock();
        reading_ = false;
        ++reads_;
        failing_ = n < 0;
        changed_.notify_all();
        // A port that gave up before its wait (a failure, or one that cannot wait) is not
        // asked again at once: the thread would spin.
        std::chrono::nanoseconds rest{};
        if (n < 0)
            rest = kReaderRetry;
        else if (n == 0)
            rest = wait_ - took;
        if (rest > rest.zero())
            changed_.wait_for(lock, rest, [&] { return stopping_ || pauses_ > 0; });
    }
}

} // namespace orvane::report
