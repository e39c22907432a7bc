#include "config/core/command_table.h"

#include <algorithm>

namespace orvane::config {
namespace {

constexpr std::string_view kPrefixText = "00 08 15 EE ";

// Hexadecimal without leading zeros; a negative 16-bit entry as its 16-bit pattern.
std::string hexText(int value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    unsigned v = static_cast<unsigned>(value) & 0xFFFFu;
    std::string text;
    do {
        text.insert(text.begin(), kDigits[v & 0x0F]);
        v >>= 4;
    } while (v != 0);
    return text;
}

std::string twoDigits(uint8_t value) {
    std::string text = hexText(value);
    return text.size() < 2 ? "0" + text : text;
}

std::string request(uint8_t code, const std::string& first, const std::string& second) {
    return std::string(kPrefixText) + twoDigits(code) + " " + first + " " + second;
}

template <std::size_t N> int mask(const std::array<bool, N>& flags) {
    int m = 0;
    for (std::size_t i = 0; i < N; ++i)
        if (flags[i]) m |= 1 << i;
    return m;
}

template <std::size_t N> void setFlags(std::array<bool, N>& flags, uint8_t bits) {
    for (std::size_t i = 0; i < N; ++i)
        flags[i] = ((bits >> i) & 1) != 0;
}

// Eight channels, two per byte, low nibble first. A nibble outside 1..8 is no channel: that
// item keeps its value and is named in impossible.
void setChannels(std::array<int, 8>& channels, std::span<const uint8_t> bytes, const char* item,
                 std::vector<std::string>& impossible) {
    for (std::size_t k = 0; k < 4; ++k) {
        const std::array<int, 2> nibbles = {bytes[k] & 0x0F, bytes[k] >> 4};
        for (std::size_t half = 0; half < 2; ++half) {
            const std::size_t index = 2 * k + half;
            if (kChannelRange.contains(nibbles[half]))
                channels[index] = nibbles[half];
            else
                impossible.push_back(std::string(item) + " " + std::to_string(index + 1) +
                                     " channel " + std::to_string(nibbles[half]));
        }
    }
}

// The mixer table a read code fills, and its first entry.
struct MixerTarget {
    MixerField field;
    std::size_t first;
};

std::optional<MixerTarget> mixerTargetOf(uint8_t code) {
    switch (code) {
    case 0x14:
        return MixerTarget{MixerField::Assignment, 0};
    case 0x15:
        return MixerTarget{MixerField::Assignment, 4};
    case 0x16:
        return MixerTarget{MixerField::Neutral, 0};
    case 0x17:
        return MixerTarget{MixerField::Neutral, 4};
    case 0x18:
        return MixerTarget{MixerField::Factor, 0};
    case 0x19:
        return MixerTarget{MixerField::Factor, 4};
    case 0x1A:
        return MixerTarget{MixerField::Exponent, 0};
    case 0x1B:
        return MixerTarget{MixerField::Exponent, 4};
    case 0x1E:
        return MixerTarget{MixerField::FactorQ, 0};
    case 0x1F:
        return MixerTarget{MixerField::FactorQ, 4};
    case 0xA0:
        return MixerTarget{MixerField::ExponentQ, 0};
    case 0xA1:
        return MixerTarget{MixerField::ExponentQ, 4};
    default:
        return std::nullopt;
    }
}

// Write codes of the mixer pairs: the table and the first code of its four pairs.
struct MixerWrite {
    MixerField field;
    uint8_t firstCode;
};
constexpr std::array<MixerWrite, 6> kMixerWrites = {{
    {MixerField::Assignment, 0x20},
    {MixerField::Neutral, 0x24},
    {MixerField::Factor, 0x28},
    {MixerField::Exponent, 0x2C},
    {MixerField::FactorQ, 0x31},
    {MixerField::ExponentQ, 0x35},
}};
constexpr uint8_t kDecodingModeWrite = 0x30;

} // namespace

bool isReadCode(uint8_t code) {
    return std::find(kReadCodes.begin(), kReadCodes.end(), code) != kReadCodes.end();
}

std::string readRequestText(uint8_t code) {
    return request(code, "00", "00");
}

std::optional<uint8_t> readCommandOf(std::span<const uint8_t> request) {
    if (request.size() < 6 || request[0] != kConfigReportId) return std::nullopt;
    if (!std::equal(kCommandPrefix.begin(), kCommandPrefix.end(), request.begin() + 1))
        return std::nullopt;
    if (!isReadCode(request[5])) return std::nullopt;
    return request[5];
}

bool answersRequest(std::span<const uint8_t> request, std::span<const uint8_t> report) {
    if (report.size() < 2 || report[0] != kConfigReportId) return false;
    const auto code = readCommandOf(request);
    if (!code) return true;
    return report[1] == *code ||
           (report.size() >= 3 && report[1] == kRefusalCode && report[2] == *code);
}

bool isRefusal(std::span<const uint8_t> answer) {
    return answer.size() >= 2 && answer[0] == kConfigReportId && answer[1] == kRefusalCode;
}

bool supportsMixers(const FirmwareVersion& v) {
    return v.major > 1 || (v.major == 1 && v.minor >= 2);
}

bool supportsDecodingMode(const FirmwareVersion& v) {
    return v.major > 1 || (v.major == 1 && v.minor >= 3);
}

bool firmwareHasCode(const FirmwareVersion& v, uint8_t code) {
    if (code == kDecodingModeCode || code == kDecodingModeWrite) return supportsDecodingMode(v);
    const bool mixerRead = (code >= 0x14 && code <= 0x1B) || code == 0x1E || code == 0x1F ||
                           code == 0xA0 || code == 0xA1;
    const bool mixerWrite = code >= 0x20 && code <= 0x38;
    if (mixerRead || mixerWrite) return supportsMixers(v);
    return true;
}

std::string firmwareText(const FirmwareVersion& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor);
}

std::string itemsFirmwareLacks(const FirmwareVersion& v) {
    if (!supportsMixers(v)) return "mixers, decoding mode";
    if (!supportsDecodingMode(v)) return "decoding mode";
    return {};
}

AnswerEffect decodeAnswer(std::span<const uint8_t> answer, Configuration& record) {
    AnswerEffect effect;
    if (answer.size() < 8 || answer[0] != kConfigReportId) return effect;
    const uint8_t code = answer[1];
    const auto data = answer.subspan(2, 6);
    effect.decoded = true;
    if (const auto target = mixerTargetOf(code)) {
        auto& table = record.mixers[target->field];
        for (std::size_t k = 0; k < 4; ++k)
            table[target->first + k] = data[k];
        return effect;
    }
    switch (code) {
    case 0x10:
        setChannels(record.axisChannel, data, "axis", effect.impossible);
        setFlags(record.axisInvert, data[4]);
        break;
    case 0x11:
        setChannels(record.buttonChannel, data, "button", effect.impossible);
        setFlags(record.buttonInvert, data[4]);
        setFlags(record.buttonActive, data[5]);
        break;
    case 0x12:
    case 0x13:
        for (std::size_t k = 0; k < 4; ++k)
            record.buttonThreshold[(code == 0x12 ? 0 : 4) + k] = data[k];
        break;
    case kVersionCode:
        effect.version = FirmwareVersion{data[0], data[1], data[2] * 256 + data[3]};
        break;
    case kDecodingModeCode:
        // The interface knows two decoding modes: any other value is no mode, and the item
        // keeps its value as a channel outside 1..8 does.
        if (!kDecodingModeRange.contains(data[0])) {
            effect.impossible.push_back("decoding mode " + std::to_string(data[0]));
            break;
        }
        record.decodingMode = data[0];
        record.option[data[0]] = true;
        record.option[1 - data[0]] = false;
        break;
    default:
        effect.decoded = false;
    }
    return effect;
}

std::string bootloaderRequestText(bool enable) {
    return request(0x07, "FF", enable ? "FF" : "11");
}

std::string axisChannelRequestText(int axis, const Configuration& record) {
    return request(0x02, std::to_string(axis + 1),
                   std::to_string(record.axisChannel[static_cast<std::size_t>(axis)]));
}

std::string axisInvertRequestText(const Configuration& record) {
    return request(0x03, hexText(mask(record.axisInvert)), "00");
}

std::string buttonChannelRequestText(int button, const Configuration& record) {
    return request(0x04, std::to_string(button + 1),
                   std::to_string(record.buttonChannel[static_cast<std::size_t>(button)]));
}

std::string buttonFlagsRequestText(const Configuration& record) {
    return request(0x05, hexText(mask(record.buttonInvert)), hexText(mask(record.buttonActive)));
}

std::string thresholdRequestText(int button, const Configuration& record) {
    return request(0x06, "0" + std::to_string(button + 1),
                   hexText(record.buttonThreshold[static_cast<std::size_t>(button)]));
}

std::string mixerRequestText(uint8_t code, const Configuration& record) {
    if (code == kDecodingModeWrite) return request(code, hexText(record.decodingMode), "0");
    for (const MixerWrite& write : kMixerWrites) {
        if (code < write.firstCode || code >= write.firstCode + 4) continue;
        const auto& table = record.mixers[write.field];
        const std::size_t pair = code - write.firstCode;
        return request(code, hexText(table[2 * pair]), hexText(table[2 * pair + 1]));
    }
    return {};
}

} // namespace orvane::config
