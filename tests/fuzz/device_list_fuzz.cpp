// TAVREL_EMULATOR is typed by whoever starts the program or the tests.
#include "device.h"
#include "emulator/bus.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto entries = emu::parseDeviceList(text, &error);
    if (!entries) return 0;
    // Whatever the parser lets through must make a device: its options are read unchecked.
    const auto now = emu::Clock::now();
    int index = 0;
    for (const emu::DeviceEntry& entry : *entries) {
        if (index == 8) break;
        emu::Device device(entry, index++, now);
        (void)device.listing();
        (void)device.nextEvent();
    }
    return 0;
}
