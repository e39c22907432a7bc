#include "emulator/bus.h"
#include "emulator/device_options.h"
#include "text_values.h"

#include <algorithm>
#include <set>

namespace emu {

namespace {

constexpr int kMaxReportLength = 1024;
constexpr double kMaxLatencyMs = 60000;

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::optional<FirmwareVersion> parseVersion(std::string_view text) {
    const auto parts = split(text, '.');
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    const auto major = parseUnsigned(parts[0], 255);
    const auto minor = parseUnsigned(parts[1], 255);
    const auto revision =
        parts.size() == 3 ? parseUnsigned(parts[2], 65535) : std::optional<uint32_t>(0);
    if (!major || !minor || !revision || parts[0].starts_with("0x") || parts[1].starts_with("0x"))
        return std::nullopt;
    return FirmwareVersion{static_cast<int>(*major), static_cast<int>(*minor),
                           static_cast<int>(*revision)};
}

// Applies one key; returns an error text on failure.
std::optional<std::string> applyKey(DeviceEntry& device, std::string_view key,
                                    std::string_view value) {
    const std::string bad = "bad value '" + std::string(value) + "' for " + std::string(key);
    auto id = [&](std::optional<uint16_t>& field) -> std::optional<std::string> {
        const auto v = parseUnsigned(value, 0xFFFF);
        if (!v) return bad + " (0 to 65535, decimal or 0x hex)";
        field = static_cast<uint16_t>(*v);
        return std::nullopt;
    };
    auto text = [&](std::optional<std::u16string>& field) -> std::optional<std::string> {
        auto v = utf8ToUtf16(value);
        if (!v) return bad + " (not UTF-8)";
        field = std::move(*v);
        return std::nullopt;
    };
    auto length = [&](std::optional<int>& field) -> std::optional<std::string> {
        const auto v = parseUnsigned(value, kMaxReportLength);
        if (!v || *v == 0) return bad + " (1 to 1024 bytes)";
        field = static_cast<int>(*v);
        return std::nullopt;
    };
    if (key == "vid") return id(device.vid);
    if (key == "pid") return id(device.pid);
    if (key == "product") return text(device.product);
    if (key == "manufacturer") return text(device.manufacturer);
    if (key == "serial") return text(device.serial);
    if (key == "in") return length(device.inLen);
    if (key == "out") return length(device.outLen);
    if (key == "latency_ms") {
        const auto v = parseMilliseconds(value, kMaxLatencyMs);
        if (!v) return bad + " (0 to 60000 ms)";
        device.latencyMs = *v;
        return std::nullopt;
    }
    if (key == "fw") {
        const auto v = parseVersion(value);
        if (!v) return bad + " (major.minor or major.minor.rev)";
        device.fw = *v;
        return std::nullopt;
    }
    if (key == "locked") {
        if (value != "0" && value != "1") return bad + " (0 or 1)";
        device.locked = value == "1";
        return std::nullopt;
    }
    if (auto error = checkOption(key, value)) return error;
    device.extra.emplace_back(std::string(key), std::string(value));
    return std::nullopt;
}

} // namespace

std::optional<std::vector<DeviceEntry>> parseDeviceList(std::string_view text, std::string* error) {
    auto fail = [&](std::string message) -> std::optional<std::vector<DeviceEntry>> {
        if (error) *error = "TAVREL_EMULATOR: " + std::move(message);
        return std::nullopt;
    };
    std::vector<DeviceEntry> devices;
    if (trim(text).empty()) return devices;
    int index = 0;
    for (const std::string_view entry : split(text, ',')) {
        ++index;
        const std::string where = "device " + std::to_string(index) + ": ";
        const auto fields = split(entry, ':');
        const std::string_view kind = trim(fields[0]);
        DeviceEntry device;
        if (kind == "interface") {
            device.kind = Kind::Interface;
        } else if (kind == "loader") {
            device.kind = Kind::Loader;
        } else {
            return fail(where + "unknown kind '" + std::string(kind) + "' (interface or loader)");
        }
        std::set<std::string_view> seen;
        for (std::size_t f = 1; f < fields.size(); ++f) {
            const auto eq = fields[f].find('=');
            if (eq == std::string_view::npos)
                return fail(where + "'" + std::string(fields[f]) + "' is not key=value");
            const std::string_view key = trim(fields[f].substr(0, eq));
            const std::string_view value = fields[f].substr(eq + 1);
            if (!seen.insert(key).second)
                return fail(where + "key " + std::string(key) + " given twice");
            if (auto problem = applyKey(device, key, value)) return fail(where + *problem);
        }
        devices.push_back(std::move(device));
    }
    return devices;
}

} // namespace emu
