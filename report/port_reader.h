// Reads a report port on a thread of its own while nobody else needs it, so that each report
// is stamped by the port as it arrives rather than when a window's timer comes round, and so
// that an idle window is not woken to poll. What the thread reads reaches the port's listener
// on that thread.
//
// The device's library takes one caller at a time and an exchange must read its own answer:
// whoever writes to the port or reads from it holds a Pause, which waits for the read in
// flight to end (one wait at most) and keeps the thread from reading until it is let go.
#ifndef ORVANE_REPORT_PORT_READER_H
#define ORVANE_REPORT_PORT_READER_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "report/report_port.h"

namespace orvane::report {

// How long one read of the thread waits for a report: the longest a Pause waits.
inline constexpr std::chrono::milliseconds kReaderWait{10};
// After a failed read (the device left, the library failed) the thread waits this long
// before it tries again, rather than spinning on the failure.
inline constexpr std::chrono::milliseconds kReaderRetry{100};

class PortReader {
public:
    explicit PortReader(ReportPort& port, std::chrono::milliseconds wait = kReaderWait);
    // Ends the read in flight and the thread.
    ~PortReader();
    PortReader(const PortReader&) = delete;
    PortReader& operator=(const PortReader&) = delete;

    class Pause {
    public:
        explicit Pause(PortReader& reader);
        ~Pause();
        Pause(Pause&& other) noexcept : reader_(std::exchange(other.reader_, nullptr)) {}
        Pause& operator=(Pause&&) = delete;
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        PortReader* reader_;
    };
    // Returns once no read is in flight; the thread reads again when every Pause has ended.
    [[nodiscard]] Pause pause() { return Pause(*this); }

    // Reads made so far, and whether the last one failed.
    long reads() const;
    bool failing() const;

private:
    void run();

    ReportPort& port_;
    const std::chrono::milliseconds wait_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int pauses_ = 0;
    bool reading_ = false;
    bool stopping_ = false;
    bool failing_ = false;
    long reads_ = 0;
    std::thread thread_; // last: starts when everything above exists
};

} // namespace orvane::report

#endif
