// Writes the state file on a thread of its own, so that a slow file system never holds
// the device's answers back: the bus hands over a snapshot (the file's whole text) while
// it holds its lock, and the file is written outside it.
#ifndef EMULATOR_STATE_SAVER_H
#define EMULATOR_STATE_SAVER_H

#include "emulator/bus.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace emu {

class StateSaver {
public:
    // An empty writer writes the file beside itself and renames it over.
    StateSaver(std::string path, StateWriter writer);
    ~StateSaver(); // writes what is still pending
    StateSaver(const StateSaver&) = delete;
    StateSaver& operator=(const StateSaver&) = delete;

    // Hands a snapshot over without waiting. A snapshot not yet written when a newer one
    // comes is never written: one writer, newest snapshot last, so an older state can
    // never land over a newer one.
    void submit(std::string text);
    // Returns once every snapshot submitted before the call is in the file.
    void flush();

private:
    void run();

    const std::string path_;
    const StateWriter writer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::string> pending_;
    uint64_t submitted_ = 0; // snapshots handed over so far
    uint64_t written_ = 0;   // the newest of them that is in the file
    bool stopping_ = false;
    std::thread worker_; // started with the first snapshot
};

} // namespace emu

#endif
