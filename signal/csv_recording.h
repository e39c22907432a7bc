// Records joystick samples to a CSV file as they arrive: a header line, then one line per
// report with its time in milliseconds since the recording began, the eight axes and the
// eight buttons (0 or 1).
#ifndef ORVANE_SIGNAL_CSV_RECORDING_H
#define ORVANE_SIGNAL_CSV_RECORDING_H

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "signal/core/sample.h"

namespace orvane::signal {

class CsvRecording {
public:
    // Creates (or empties) the file and writes the header; a recording that failed() when
    // the file cannot be written.
    CsvRecording(const std::filesystem::path& path, TimePoint origin);

    // Appends one line; once a write fails, the recording stays failed and writes nothing.
    void write(const Sample& sample);
    // Hands what is buffered to the file, so that a full disk shows while recording.
    void flush();
    // Writes what is buffered to the file and closes it; false when that failed.
    bool finish();

    bool failed() const { return failed_; }
    long reports() const { return reports_; }
    std::uintmax_t bytes() const { return bytes_; }
    const std::filesystem::path& path() const { return path_; }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    void put(const char* text, std::size_t length);

    std::filesystem::path path_;
    TimePoint origin_;
    std::unique_ptr<std::FILE, Closer> file_;
    bool failed_ = false;
    long reports_ = 0;
    std::uintmax_t bytes_ = 0;
};

} // namespace orvane::signal

#endif
