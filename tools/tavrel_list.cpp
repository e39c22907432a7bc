// tavrel-list: shows what libtavrel.so sees. The library is loaded by name at run time,
// as the program loads it, so this also checks that it can be found and bound.
//
//   tavrel-list           one line per listed device, then the report lengths after Open
//   tavrel-list --known   no output; exit 0 when an R/C USB interface (or its boot
//                         loader) is attached, else 1
#include <tavrel/tavrel.h>

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace {

constexpr uint32_t kAny = 65535;
constexpr int32_t kMaxDevices = 20;

// The interfaces the program knows by vendor and product id, its boot loader first.
struct KnownDevice {
    int32_t vendorId;
    int32_t productId;
};
constexpr std::array<KnownDevice, 8> kKnownDevices{{{0x5381, 0x640B},
                                                    {0x537F, 0x6405},
                                                    {0x537F, 0x6406},
                                                    {0x537F, 0x6407},
                                                    {0x537F, 0x6408},
                                                    {0x537F, 0x6425},
                                                    {0x537F, 0x6426},
                                                    {0x04E0, 0x0BA0}}};

struct LibraryCloser {
    void operator()(void* handle) const { dlclose(handle); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

struct Functions {
    decltype(&::GetList) GetList = nullptr;
    decltype(&::Open) Open = nullptr;
    decltype(&::GetReportLengths) GetReportLengths = nullptr;
    decltype(&::CloseRead) CloseRead = nullptr;
    decltype(&::CloseWrite) CloseWrite = nullptr;
};

template <typename Function> bool bind(void* library, const char* name, Function& function) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) {
        std::fprintf(stderr, "tavrel-list: libtavrel.so has no %s\n", name);
        return false;
    }
    function = reinterpret_cast<Function>(symbol);
    return true;
}

// The caller-owned text buffers that the listing fills.
struct DeviceTexts {
    std::array<char, 50> product{};
    std::array<char, 50> manufacturer{};
    std::array<char, 20> serialNumber{};
};

// By name first, as the program does; the tool's run path points beside it. A sanitizer
// runtime that intercepts dlopen hides the run path, so the folder of the executable is
// tried next.
Library loadLibrary() {
    Library library(dlopen("libtavrel.so", RTLD_NOW | RTLD_LOCAL));
    if (library) return library;
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return library;
    const auto beside = self.parent_path() / "libtavrel.so";
    return Library(dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL));
}

} // namespace

int main(int argc, char** argv) {
    const bool knownOnly = argc > 1 && std::string_view(argv[1]) == "--known";
    if (argc > 1 && !knownOnly) {
        std::fprintf(stderr, "usage: tavrel-list [--known]\n");
        return 2;
    }

    const Library library = loadLibrary();
    if (!library) {
        std::fprintf(stderr, "tavrel-list: %s\n", dlerror());
        return knownOnly ? 1 : 2;
    }
    Functions f;
    if (!bind(library.get(), "GetList", f.GetList) || !bind(library.get(), "Open", f.Open) ||
        !bind(library.get(), "GetReportLengths", f.GetReportLengths) ||
        !bind(library.get(), "CloseRead", f.CloseRead) ||
        !bind(library.get(), "CloseWrite", f.CloseWrite))
        return knownOnly ? 1 : 2;

    std::array<DeviceTexts, kMaxDevices> texts;
    std::array<DeviceListEntry, kMaxDevices> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].product = texts[i].product.data();
        entries[i].manufacturer = texts[i].manufacturer.data();
        entries[i].serialNumber = texts[i].serialNumber.data();
    }
    const int32_t count =
        f.GetList(kAny, kAny, nullptr, nullptr, nullptr, entries.data(), kMaxDevices);

    if (knownOnly) {
        for (const KnownDevice& known : kKnownDevices) {
            for (int32_t i = 0; i < count; ++i) {
                const DeviceListEntry& e = entries[static_cast<std::size_t>(i)];
                if (e.vendorId == known.vendorId && e.productId == known.productId) return 0;
            }
        }
        // The listing sees only the first 20 HID interfaces; Open looks further, as the
        // program does for the interfaces it knows.
        for (const KnownDevice& known : kKnownDevices) {
            if (f.Open(static_cast<uint32_t>(known.vendorId),
                       static_cast<uint32_t>(known.productId), nullptr, nullptr, nullptr, 1) == 1) {
                f.CloseRead();
                f.CloseWrite();
                return 0;
            }
        }
        return 1;
    }

    std::printf("%d device(s)\n", count < 0 ? 0 : count);
    for (int32_t i = 0; i < count; ++i) {
        const DeviceListEntry& e = entries[static_cast<std::size_t>(i)];
        std::printf("%2d  product \"%s\"  manufacturer \"%s\"  serial \"%s\"\n"
                    "    vid 0x%04X (%d)  pid 0x%04X (%d)  in %d  out %d\n",
                    i, e.product, e.manufacturer, e.serialNumber, static_cast<unsigned>(e.vendorId),
                    e.vendorId, static_cast<unsigned>(e.productId), e.productId,
                    e.inputReportLength, e.outputReportLength);
    }
    for (int32_t i = 0; i < count; ++i) {
        const DeviceListEntry& e = entries[static_cast<std::size_t>(i)];
        // The serial number tells apart two devices with the same ids.
        if (f.Open(static_cast<uint32_t>(e.vendorId), static_cast<uint32_t>(e.productId), nullptr,
                   e.serialNumber, nullptr, 1) != 1) {
            std::printf("%2d  cannot open\n", i);
            continue;
        }
        int32_t in = 0;
        int32_t out = 0;
        f.GetReportLengths(&in, &out);
        f.CloseRead();
        f.CloseWrite();
        std::printf("%2d  opened: input report %d bytes, output report %d bytes\n", i, in, out);
    }
    return 0;
}
