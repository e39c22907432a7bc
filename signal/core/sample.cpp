#include "signal/core/sample.h"

namespace orvane::signal {

std::optional<Sample> parseJoystickReport(std::span<const uint8_t> report, TimePoint arrival) {
    if (report.size() < kJoystickReportBytes || report[0] != kJoystickReportId) return std::nullopt;
    Sample s;
    s.time = arrival;
    for (int i = 0; i < kAxes; ++i) {
        const auto lo = report[1 + 2 * static_cast<std::size_t>(i)];
        const auto hi = report[2 + 2 * static_cast<std::size_t>(i)];
        s.axes[static_cast<std::size_t>(i)] = static_cast<uint16_t>(lo | (hi << 8));
    }
    s.buttons = report[17];
    return s;
}

} // namespace orvane::signal
