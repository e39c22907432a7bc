// Report text is typed by the user in the console and the configuration dialog's panel, and
// comes from the command line.
#include "report/report_buffer.h"
#include "report/report_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = orvane::report::parseReportText(text, orvane::report::kMaxDataTokens);
    if (!parsed.ok()) {
        if (!parsed.bytes.empty()) std::abort();
        return 0;
    }
    // What fits a buffer is written back as text that reads to the same bytes.
    if (parsed.bytes.size() > orvane::report::kMaxDataTokens) std::abort();
    const auto written = orvane::report::reportText(parsed.bytes);
    const auto again = orvane::report::parseReportText(
        std::string_view(written).substr(0, written.empty() ? 0 : written.size() - 1),
        orvane::report::kMaxDataTokens);
    if (!again.ok() || again.bytes != parsed.bytes) std::abort();
    return 0;
}
