// One joystick report of the interface, taken apart and stamped with its arrival time.
//
// The interface sends report id 01 every 10 ms: eight axes (X, Y, Z, Rx, Ry, Rz, Sl, Di) as
// unsigned 16-bit little-endian values in bytes 1..16, buttons 1..8 in bits 0..7 of byte 17.
#ifndef ORVANE_SIGNAL_CORE_SAMPLE_H
#define ORVANE_SIGNAL_CORE_SAMPLE_H

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace orvane::signal {

inline constexpr int kAxes = 8;
inline constexpr int kButtons = 8;
// The axes' short names, in report order, as the tab, the chart and the command line show them.
inline constexpr std::array<const char*, kAxes> kAxisNames = {"X",  "Y",  "Z",  "Rx",
                                                              "Ry", "Rz", "Sl", "Di"};
inline constexpr uint8_t kJoystickReportId = 0x01;
// Report id, sixteen axis bytes, one button byte.
inline constexpr std::size_t kJoystickReportBytes = 18;

// Arrival times are taken on the monotonic clock as each read returns.
using TimePoint = std::chrono::steady_clock::time_point;
using Duration = std::chrono::steady_clock::duration;

// Figures give times in (fractional) milliseconds.
inline double toMs(Duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Sample {
    TimePoint time{};
    std::array<uint16_t, kAxes> axes{};
    uint8_t buttons = 0; // button i+1 in bit i

    bool pressed(int button) const { return ((buttons >> button) & 1) != 0; }
    // Same axes and buttons (the time aside): the interface sent the same state again.
    bool sameState(const Sample& other) const {
        return axes == other.axes && buttons == other.buttons;
    }
};

// A report as read, report id first. Anything but a whole joystick report (another id, too
// short) gives nothing; bytes beyond the joystick report are ignored.
std::optional<Sample> parseJoystickReport(std::span<const uint8_t> report, TimePoint arrival);

} // namespace orvane::signal

#endif
