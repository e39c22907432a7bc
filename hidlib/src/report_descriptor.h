// Report lengths from a HID report descriptor, counted the way the Windows HID caps count
// them: the largest report of a direction in bytes plus one byte for the report id (also
// for devices without numbered reports), 0 when the direction has no report.
#ifndef TAVREL_REPORT_DESCRIPTOR_H
#define TAVREL_REPORT_DESCRIPTOR_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavrel {

struct ReportLayout {
    uint16_t inputReportLength = 0;
    uint16_t outputReportLength = 0;
    uint16_t featureReportLength = 0;
    // True when the descriptor declares report ids: each report then starts with its id.
    bool numberedReports = false;
};

// Never fails: a truncated or odd descriptor gives the lengths of what could be read.
ReportLayout parseReportDescriptor(std::span<const uint8_t> descriptor);

// "/dev/hidrawN" -> the descriptor in /sys/class/hidraw/hidrawN/device/report_descriptor,
// which anyone may read, also without permission to open the device itself.
std::string reportDescriptorPath(std::string_view devicePath);
std::optional<ReportLayout> readReportLayout(std::string_view devicePath);

} // namespace tavrel

#endif
