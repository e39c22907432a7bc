#include "emulator/device_options.h"
#include "text_values.h"

namespace emu {

namespace {

constexpr double kMaxMs = 3600000;

std::optional<Channels> parseChannels(std::string_view text) {
    Channels channels;
    channels.fill(128);
    std::size_t k = 0;
    for (;;) {
        const auto at = text.find('/');
        if (k == channels.size()) return std::nullopt;
        const auto v = parseUnsigned(text.substr(0, at), 255);
        if (!v) return std::nullopt;
        channels[k++] = static_cast<uint8_t>(*v);
        if (at == std::string_view::npos) return channels;
        text.remove_prefix(at + 1);
    }
}

} // namespace

std::optional<std::string> checkOption(std::string_view key, std::string_view value) {
    const std::string bad = "bad value '" + std::string(value) + "' for " + std::string(key);
    if (key == "channels")
        return parseChannels(value)
                   ? std::nullopt
                   : std::optional<std::string>(bad + " (up to 8 values 0..255 separated by /)");
    if (key == "silent")
        return value == "0" || value == "1" ? std::nullopt
                                            : std::optional<std::string>(bad + " (0 or 1)");
    if (key == "joy_ms") {
        const auto v = parseMilliseconds(value, kMaxMs);
        return v && (*v == 0 || *v >= 1)
                   ? std::nullopt
                   : std::optional<std::string>(bad + " (0, or 1 ms and more)");
    }
    if (key == "unplug_after_ms" || key == "reboot_ms")
        return parseMilliseconds(value, kMaxMs)
                   ? std::nullopt
                   : std::optional<std::string>(bad + " (milliseconds)");
    if (key == "drop")
        return parseUnsigned(value, 1000000)
                   ? std::nullopt
                   : std::optional<std::string>(bad + " (a count, 0 for none)");
    if (key == "queue") {
        const auto v = parseUnsigned(value, 4096);
        return v && *v > 0 ? std::nullopt
                           : std::optional<std::string>(bad + " (1 to 4096 reports)");
    }
    return "unknown key '" + std::string(key) + "'";
}

DeviceOptions deviceOptions(const DeviceEntry& entry) {
    DeviceOptions o;
    for (const auto& [key, value] : entry.extra) {
        if (checkOption(key, value)) continue; // not one of ours or malformed
        if (key == "channels") o.channels = parseChannels(value);
        if (key == "silent") o.silent = value == "1";
        if (key == "unplug_after_ms") o.unplugAfterMs = parseMilliseconds(value, kMaxMs);
        if (key == "reboot_ms") o.rebootMs = *parseMilliseconds(value, kMaxMs);
        if (key == "joy_ms") o.joystickMs = *parseMilliseconds(value, kMaxMs);
        if (key == "drop") o.drop = static_cast<int>(*parseUnsigned(value, 1000000));
        if (key == "queue") o.queue = static_cast<int>(*parseUnsigned(value, 4096));
    }
    return o;
}

} // namespace emu
