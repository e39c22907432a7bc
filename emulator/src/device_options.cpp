#include "emulator/device_options.h"
#include "text_values.h"

namespace emu {

namespace {

constexpr double kMaxMs = 3600000;
constexpr uint32_t kMaxEveryNth = 1000000;

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

// One count for every axis, or up to eight separated by / (the others stay 0).
std::optional<std::array<uint16_t, 8>> parseNoise(std::string_view text) {
    std::array<uint16_t, 8> noise{};
    const bool each = text.find('/') != std::string_view::npos;
    std::size_t k = 0;
    for (;;) {
        const auto at = text.find('/');
        if (k == noise.size()) return std::nullopt;
        const auto v = parseUnsigned(text.substr(0, at), 65535);
        if (!v) return std::nullopt;
        noise[k++] = static_cast<uint16_t>(*v);
        if (at == std::string_view::npos) break;
        text.remove_prefix(at + 1);
    }
    if (!each) noise.fill(noise[0]);
    return noise;
}

std::optional<QueuePolicy> parsePolicy(std::string_view text) {
    if (text == "linux") return QueuePolicy::Linux;
    if (text == "windows") return QueuePolicy::Windows;
    return std::nullopt;
}

bool isMilliseconds(std::string_view key) {
    return key == "unplug_after_ms" || key == "replug_after_ms" || key == "away_ms" ||
           key == "reboot_ms" || key == "late_ms" || key == "frame_ms" || key == "gap_every_ms" ||
           key == "gap_ms" || key == "gap_first_ms";
}

// Keys whose value counts answers or writes: every Nth, 0 for none.
bool isCount(std::string_view key) {
    return key == "drop" || key == "drop_once" || key == "dup" || key == "late_every" ||
           key == "write_fail" || key == "write_short" || key == "gap_count";
}

int count(std::string_view value) {
    return static_cast<int>(*parseUnsigned(value, kMaxEveryNth));
}

} // namespace

std::optional<std::string> checkOption(std::string_view key, std::string_view value) {
    const std::string bad = "bad value '" + std::string(value) + "' for " + std::string(key);
    auto check = [&](bool ok, const char* expected) -> std::optional<std::string> {
        if (ok) return std::nullopt;
        return bad + " (" + expected + ")";
    };
    if (key == "channels")
        return check(parseChannels(value).has_value(), "up to 8 values 0..255 separated by /");
    if (key == "noise")
        return check(parseNoise(value).has_value(),
                     "counts 0..65535, one or up to 8 separated by /");
    if (key == "silent" || key == "bare_answers" || key == "odd_values")
        return check(value == "0" || value == "1", "0 or 1");
    if (key == "joy_ms") {
        const auto v = parseMilliseconds(value, kMaxMs);
        return check(v && (*v == 0 || *v >= 1), "0, or 1 ms and more");
    }
    if (isMilliseconds(key))
        return check(parseMilliseconds(value, kMaxMs).has_value(), "milliseconds");
    if (isCount(key))
        return check(parseUnsigned(value, kMaxEveryNth).has_value(), "a count, 0 for none");
    if (key == "queue") {
        const auto v = parseUnsigned(value, 4096);
        return check(v && *v > 0, "1 to 4096 reports");
    }
    if (key == "answer_id")
        return check(parseUnsigned(value, 255).has_value(), "a report id 0..255");
    if (key == "os") return check(parsePolicy(value).has_value(), "linux or windows");
    if (key == "loss")
        return check(parseMilliseconds(value, 1.0).has_value(), "a probability from 0 to 1");
    if (key == "seed")
        return check(parseUnsigned(value, 0xFFFFFFFF).has_value(), "0 to 4294967295");
    return "unknown key '" + std::string(key) + "'";
}

DeviceOptions deviceOptions(const DeviceEntry& entry) {
    DeviceOptions o;
    std::optional<int> queue;
    for (const auto& [key, value] : entry.extra) {
        if (checkOption(key, value)) continue; // not one of ours or malformed
        if (key == "channels") o.channels = parseChannels(value);
        if (key == "silent") o.silent = value == "1";
        if (key == "bare_answers") o.bareAnswers = value == "1";
        if (key == "odd_values") o.oddValues = value == "1";
        if (key == "answer_id") o.answerId = static_cast<uint8_t>(*parseUnsigned(value, 255));
        if (key == "unplug_after_ms") o.unplugAfterMs = parseMilliseconds(value, kMaxMs);
        if (key == "replug_after_ms") o.replugAfterMs = parseMilliseconds(value, kMaxMs);
        if (key == "away_ms") o.awayMs = *parseMilliseconds(value, kMaxMs);
        if (key == "reboot_ms") o.rebootMs = *parseMilliseconds(value, kMaxMs);
        if (key == "joy_ms") o.joystickMs = *parseMilliseconds(value, kMaxMs);
        if (key == "noise") o.noise = *parseNoise(value);
        if (key == "frame_ms") o.frameMs = *parseMilliseconds(value, kMaxMs);
        if (key == "gap_every_ms") o.gapEveryMs = *parseMilliseconds(value, kMaxMs);
        if (key == "gap_ms") o.gapMs = *parseMilliseconds(value, kMaxMs);
        if (key == "gap_first_ms") o.gapFirstMs = parseMilliseconds(value, kMaxMs);
        if (key == "gap_count") o.gapCount = count(value);
        if (key == "os") o.queuePolicy = *parsePolicy(value);
        if (key == "queue") queue = static_cast<int>(*parseUnsigned(value, 4096));
        if (key == "drop") o.drop = count(value);
        if (key == "drop_once") o.dropOnce = count(value);
        if (key == "loss") o.loss = *parseMilliseconds(value, 1.0);
        if (key == "seed") o.seed = *parseUnsigned(value, 0xFFFFFFFF);
        if (key == "late_ms") o.lateMs = *parseMilliseconds(value, kMaxMs);
        if (key == "late_every") o.lateEvery = count(value);
        if (key == "dup") o.duplicate = count(value);
        if (key == "write_fail") o.writeFail = count(value);
        if (key == "write_short") o.writeShort = count(value);
    }
    // Linux queues 63 reports per open hidraw file (a ring of 64 that keeps one slot free),
    // Windows 32 per handle by default.
    o.queue = queue.value_or(o.queuePolicy == QueuePolicy::Linux ? kLinuxQueue : 32);
    return o;
}

} // namespace emu
