// Report descriptors come from the device itself, through sysfs.
#include "report_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    (void)tavrel::parseReportDescriptor(std::span(data, size));
    return 0;
}
