// tavrel-list: shows what libtavrel.so sees. The library is loaded by name at run time,
// as the program loads it, so this also checks that it can be found and bound.
//
//   tavrel-list           one line per listed device, then the report lengths after Open
//   tavrel-list --known   no output; exit 0 when an R/C USB interface (or its boot
//                         loader) is attached, else 1
#include <array>
#include <cstdio>
#include <span>
#include <string_view>

#include "device/known_devices.h"
#include "device/runtime_failure.h"
#include "device/tavrel_library.h"

namespace {

constexpr int32_t kMaxDevices = 20;

// The caller-owned text buffers that the listing fills.
struct DeviceTexts {
    std::array<char, 50> product{};
    std::array<char, 50> manufacturer{};
    std::array<char, 20> serialNumber{};
};

// --known: an R/C USB interface (or its boot loader) is listed or, beyond the listing,
// opens by its ids.
bool knownInterfaceAttached(orvane::TavrelApi& tavrel, std::span<const DeviceListEntry> listed) {
    for (const orvane::KnownDevice& known : orvane::knownDeviceTable)
        for (const DeviceListEntry& e : listed)
            if (e.vendorId == known.vendorId && e.productId == known.productId) return true;
    // The listing sees only the first 20 HID interfaces; Open looks further, as the
    // program does for the interfaces it knows.
    for (const orvane::KnownDevice& known : orvane::knownDeviceTable) {
        if (tavrel.Open(static_cast<uint32_t>(known.vendorId),
                        static_cast<uint32_t>(known.productId), nullptr, nullptr, nullptr,
                        1) == 1) {
            tavrel.CloseRead();
            tavrel.CloseWrite();
            return true;
        }
    }
    return false;
}

void printDevices(orvane::TavrelApi& tavrel, std::span<const DeviceListEntry> listed) {
    std::printf("%d device(s)\n", static_cast<int>(listed.size()));
    int i = 0;
    for (const DeviceListEntry& e : listed) {
        std::printf("%2d  product \"%s\"  manufacturer \"%s\"  serial \"%s\"\n"
                    "    vid 0x%04X (%d)  pid 0x%04X (%d)  in %d  out %d\n",
                    i++, e.product, e.manufacturer, e.serialNumber,
                    static_cast<unsigned>(e.vendorId), e.vendorId,
                    static_cast<unsigned>(e.productId), e.productId, e.inputReportLength,
                    e.outputReportLength);
    }
    i = 0;
    for (const DeviceListEntry& e : listed) {
        const int index = i++;
        // The serial number tells apart two devices with the same ids.
        if (tavrel.Open(static_cast<uint32_t>(e.vendorId), static_cast<uint32_t>(e.productId),
                        nullptr, e.serialNumber, nullptr, 1) != 1) {
            std::printf("%2d  cannot open\n", index);
            continue;
        }
        int32_t in = 0;
        int32_t out = 0;
        tavrel.GetReportLengths(&in, &out);
        tavrel.CloseRead();
        tavrel.CloseWrite();
        std::printf("%2d  opened: input report %d bytes, output report %d bytes\n", index, in, out);
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool knownOnly = argc > 1 && std::string_view(argv[1]) == "--known";
    if (argc > 1 && !knownOnly) {
        std::fprintf(stderr, "usage: tavrel-list [--known]\n");
        return 2;
    }

    // By name, beside the tool first, as the program loads it.
    orvane::TavrelLibrary tavrel;
    try {
        std::array<DeviceTexts, kMaxDevices> texts;
        std::array<DeviceListEntry, kMaxDevices> entries{};
        for (std::size_t i = 0; i < entries.size(); ++i) {
            entries[i].product = texts[i].product.data();
            entries[i].manufacturer = texts[i].manufacturer.data();
            entries[i].serialNumber = texts[i].serialNumber.data();
        }
        const int32_t count = tavrel.GetList(TAVREL_ANY_ID, TAVREL_ANY_ID, nullptr, nullptr,
                                             nullptr, entries.data(), kMaxDevices);
        const std::span<const DeviceListEntry> listed(
            entries.data(), static_cast<std::size_t>(count < 0 ? 0 : count));
        if (knownOnly) return knownInterfaceAttached(tavrel, listed) ? 0 : 1;
        printDevices(tavrel, listed);
        return 0;
    } catch (const orvane::RuntimeFailure& failure) {
        std::fprintf(stderr, "tavrel-list: %s\n", failure.description().c_str());
        return knownOnly ? 1 : 2;
    }
}
