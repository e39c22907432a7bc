#include "sysfs_listing.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tavrel {

namespace fs = std::filesystem;

namespace {

constexpr unsigned kBusUsb = 0x0003;
constexpr unsigned kBusBluetooth = 0x0005;
constexpr unsigned kBusI2c = 0x0018;
constexpr unsigned kBusSpi = 0x001C;

// Devices that someone plugged in or that belong to the machine. Virtual ones (uhid and
// the like, made by programs) are left out, so that they do not use up the entries of a
// listing and the first of two devices means a plugged-in one.
bool listedBus(unsigned bus) {
    return bus == kBusUsb || bus == kBusBluetooth || bus == kBusI2c || bus == kBusSpi;
}

// The file's text without its last line end; nothing when it cannot be read.
std::optional<std::string> readAttribute(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    std::string s = text.str();
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

std::optional<std::string> ueventValue(const std::string& uevent, std::string_view key) {
    std::istringstream lines(uevent);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
            line[key.size()] == '=')
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

std::optional<unsigned> hexField(std::string_view text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

struct HidId {
    unsigned bus = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
};

// HID_ID=0003:0000537F:00006425: bus, vendor and product in hexadecimal.
std::optional<HidId> parseHidId(std::string_view text) {
    const auto first = text.find(':');
    const auto second = text.find(':', first == std::string_view::npos ? first : first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) return std::nullopt;
    const auto bus = hexField(text.substr(0, first));
    const auto vendor = hexField(text.substr(first + 1, second - first - 1));
    const auto product = hexField(text.substr(second + 1));
    if (!bus || !vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) return std::nullopt;
    return HidId{*bus, static_cast<uint16_t>(*vendor), static_cast<uint16_t>(*product)};
}

std::optional<std::u16string> textOf(const std::optional<std::string>& utf8) {
    if (!utf8) return std::nullopt;
    return utf8ToUtf16(*utf8);
}

// The USB device above a HID device: the first folder upwards with an idVendor file.
std::optional<fs::path> usbDeviceAbove(const fs::path& hidDevice) {
    std::error_code ec;
    fs::path folder = fs::canonical(hidDevice, ec);
    if (ec) return std::nullopt;
    for (int depth = 0; depth < 8 && folder.has_relative_path(); ++depth) {
        folder = folder.parent_path();
        if (fs::exists(folder / "idVendor", ec)) return folder;
    }
    return std::nullopt;
}

} // namespace

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int extra = c < 0x80           ? 0
                          : (c >> 5) == 0x6  ? 1
                          : (c >> 4) == 0xE  ? 2
                          : (c >> 3) == 0x1E ? 3
                                             : -1;
        uint32_t cp = extra == 0   ? c
                      : extra == 1 ? (c & 0x1F)
                      : extra == 2 ? (c & 0x0F)
                                   : (c & 0x07);
        bool good = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; good && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            good = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!good || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp > 0xFFFF) {
            const uint32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::vector<DeviceInfo> listHidrawNodes(const fs::path& classRoot, std::size_t limit) {
    // Each node by its device's system path, so that the order stays the same however
    // the nodes were numbered: a device keeps its place while it is plugged where it is.
    struct Node {
        std::string name;
        std::string systemPath;
    };
    std::vector<Node> nodes;
    std::error_code ec;
    for (fs::directory_iterator it(classRoot, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code gone;
        const fs::path systemPath = fs::canonical(it->path(), gone);
        if (gone) continue; // left while we looked
        nodes.push_back({it->path().filename().string(), systemPath.string()});
    }
    std::ranges::sort(nodes, {}, &Node::systemPath);

    std::vector<DeviceInfo> devices;
    for (const Node& n : nodes) {
        if (devices.size() >= limit) break;
        const std::string& node = n.name;
        const fs::path hidDevice = classRoot / node / "device";
        const auto uevent = readAttribute(hidDevice / "uevent");
        if (!uevent) continue; // gone while we looked
        const auto idText = ueventValue(*uevent, "HID_ID");
        const auto id = idText ? parseHidId(*idText) : std::nullopt;
        if (!id || !listedBus(id->bus)) continue;
        DeviceInfo info;
        info.path = "/dev/" + node;
        info.vendorId = id->vendor;
        info.productId = id->product;
        const auto usb = id->bus == kBusUsb ? usbDeviceAbove(hidDevice) : std::nullopt;
        if (usb) {
            // A USB device's own string descriptors, as the kernel read them at plug-in.
            info.product = textOf(readAttribute(*usb / "product"));
            info.manufacturer = textOf(readAttribute(*usb / "manufacturer"));
            info.serialNumber = textOf(readAttribute(*usb / "serial"));
        } else {
            info.product = textOf(ueventValue(*uevent, "HID_NAME"));
            info.serialNumber = textOf(ueventValue(*uevent, "HID_UNIQ"));
        }
        devices.push_back(std::move(info));
    }
    return devices;
}

} // namespace tavrel
