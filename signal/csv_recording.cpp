#include "signal/csv_recording.h"

#include <chrono>
#include <string_view>

namespace orvane::signal {

namespace {
constexpr std::string_view kHeader = "time_ms,X,Y,Z,Rx,Ry,Rz,Sl,Di,B1,B2,B3,B4,B5,B6,B7,B8\r\n";
} // namespace

CsvRecording::CsvRecording(const std::filesystem::path& path, TimePoint origin)
    : path_(path), origin_(origin), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) {
        failed_ = true;
        return;
    }
    put(kHeader.data(), kHeader.size());
}

void CsvRecording::write(const Sample& sample) {
    if (failed_) return;
    const double ms = std::chrono::duration<double, std::milli>(sample.time - origin_).count();
    char line[160];
    int n = std::snprintf(line, sizeof line, "%.3f", ms);
    for (const uint16_t axis : sample.axes)
        n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), ",%u",
                           static_cast<unsigned>(axis));
    for (int b = 0; b < kButtons; ++b)
        n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), ",%d",
                           sample.pressed(b) ? 1 : 0);
    n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), "\r\n");
    put(line, static_cast<std::size_t>(n));
    if (!failed_) ++reports_;
}

void CsvRecording::flush() {
    if (file_ && !failed_ && std::fflush(file_.get()) != 0) failed_ = true;
}

bool CsvRecording::finish() {
    if (file_) {
        if (std::fclose(file_.release()) != 0) failed_ = true;
    }
    return !failed_;
}

void CsvRecording::put(const char* text, std::size_t length) {
    if (!file_ || std::fwrite(text, 1, length, file_.get()) != length) {
        failed_ = true;
        return;
    }
    bytes_ += length;
}

} // namespace orvane::signal
