// The report port of the device that the program opened through libtavrel (library
// object 0). Waiting for input goes through the library's ReadTimeout, which blocks on the
// device's readiness; a library without it gets overlapped reads with short pauses, and the
// event log says so once. Each report read is handed to the port's listener, stamped with
// the monotonic clock as the read returned. The answer bound comes from
// ORVANE_ANSWER_TIMEOUT_MS when set.
#ifndef ORVANE_DEVICE_TAVREL_REPORT_PORT_H
#define ORVANE_DEVICE_TAVREL_REPORT_PORT_H

#include <chrono>
#include <functional>
#include <string_view>

#include "report/report_port.h"

namespace orvane {

class TavrelApi;

class TavrelReportPort final : public report::ReportPort {
public:
    // notice: told once when the library lacks ReadTimeout; may be empty.
    explicit TavrelReportPort(TavrelApi& tavrel, std::function<void(std::string_view)> notice = {});

    int write(std::span<const uint8_t, report::kReportBufferSize> report) override;
    int read(std::span<uint8_t, report::kReportBufferSize> report) override;
    int readFor(std::span<uint8_t, report::kReportBufferSize> report,
                std::chrono::milliseconds timeout) override;

private:
    int waitAndRead(std::span<uint8_t, report::kReportBufferSize> report,
                    std::chrono::milliseconds timeout);
    int readPolling(std::span<uint8_t, report::kReportBufferSize> report,
                    std::chrono::milliseconds timeout);

    TavrelApi& tavrel_;
    std::function<void(std::string_view)> notice_;
    bool hasReadTimeout_ = true;
};

} // namespace orvane

#endif
