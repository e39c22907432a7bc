// Report buffers as every window builds them: 101 bytes, the report id at index 0.
#ifndef ORVANE_REPORT_REPORT_BUFFER_H
#define ORVANE_REPORT_REPORT_BUFFER_H

#include <array>
#include <cstddef>
#include <cstdint>

#include <tavrel/tavrel.h>

namespace orvane::report {

inline constexpr std::size_t kReportBufferSize = TAVREL_REPORT_BUFFER_SIZE;
// Data tokens after the report id that a buffer holds.
inline constexpr std::size_t kMaxDataTokens = kReportBufferSize - 1;

using ReportBuffer = std::array<uint8_t, kReportBufferSize>;

// Report lengths (report id included) that the 101-byte buffers can carry.
constexpr bool reportLengthFits(int length) {
    return length >= 0 && static_cast<std::size_t>(length) <= kReportBufferSize;
}

} // namespace orvane::report

#endif
