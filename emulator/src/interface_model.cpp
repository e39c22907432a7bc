#include "emulator/interface_model.h"

#include <algorithm>
#include <array>
#include <optional>

namespace emu {

namespace {

constexpr std::array<uint8_t, 4> kPrefix{0x00, 0x08, 0x15, 0xEE};
constexpr uint8_t kEnterProgramming = 0x01;
constexpr uint8_t kLeaveProgramming = 0xFF;

// Two channel numbers per byte, the even index in the low nibble.
void packNibbles(const Bytes8& values, std::span<uint8_t> out) {
    for (int k = 0; k < 4; ++k)
        out[k] = static_cast<uint8_t>((values[2 * k] & 0x0F) | ((values[2 * k + 1] & 0x0F) << 4));
}

void copyHalf(const Bytes8& values, int half, std::span<uint8_t> out) {
    std::copy_n(values.begin() + 4 * half, 4, out.begin());
}

// The table a mixer write code addresses and the pair inside it.
struct MixerTarget {
    Bytes8 Configuration::*table;
    int pair;
};

std::optional<MixerTarget> mixerTarget(uint8_t code) {
    if (code >= 0x20 && code <= 0x23)
        return MixerTarget{&Configuration::mixerAssignment, code - 0x20};
    if (code >= 0x24 && code <= 0x27) return MixerTarget{&Configuration::neutral, code - 0x24};
    if (code >= 0x28 && code <= 0x2B) return MixerTarget{&Configuration::factor, code - 0x28};
    if (code >= 0x2C && code <= 0x2F) return MixerTarget{&Configuration::exponent, code - 0x2C};
    if (code >= 0x31 && code <= 0x34) return MixerTarget{&Configuration::factorQ, code - 0x31};
    if (code >= 0x35 && code <= 0x38) return MixerTarget{&Configuration::exponentQ, code - 0x35};
    return std::nullopt;
}

// The table a mixer read code answers with and which half of it.
std::optional<MixerTarget> mixerReadTarget(uint8_t code) {
    switch (code) {
    case 0x14:
        return MixerTarget{&Configuration::mixerAssignment, 0};
    case 0x15:
        return MixerTarget{&Configuration::mixerAssignment, 1};
    case 0x16:
        return MixerTarget{&Configuration::neutral, 0};
    case 0x17:
        return MixerTarget{&Configuration::neutral, 1};
    case 0x18:
        return MixerTarget{&Configuration::factor, 0};
    case 0x19:
        return MixerTarget{&Configuration::factor, 1};
    case 0x1A:
        return MixerTarget{&Configuration::exponent, 0};
    case 0x1B:
        return MixerTarget{&Configuration::exponent, 1};
    case 0x1E:
        return MixerTarget{&Configuration::factorQ, 0};
    case 0x1F:
        return MixerTarget{&Configuration::factorQ, 1};
    case 0xA0:
        return MixerTarget{&Configuration::exponentQ, 0};
    case 0xA1:
        return MixerTarget{&Configuration::exponentQ, 1};
    default:
        return std::nullopt;
    }
}

bool isReadCode(uint8_t code) {
    return (code >= 0x10 && code <= 0x1F) || code == 0xA0 || code == 0xA1;
}

// Firmware 1.1 has no mixers (reads 14-1B, 1E, 1F, A0, A1; writes 20-2F, 31-38) and no
// decoding mode (read 1D, write 30); 1.2 has the mixers but not the decoding mode.
bool firmwareHas(const FirmwareVersion& fw, uint8_t code) {
    const bool mixers = fw.major > 1 || (fw.major == 1 && fw.minor >= 2);
    const bool decoding = fw.major > 1 || (fw.major == 1 && fw.minor >= 3);
    if (code == 0x1D || code == 0x30) return decoding;
    const bool mixerCode = (code >= 0x14 && code <= 0x1B) || code == 0x1E || code == 0x1F ||
                           code == 0xA0 || code == 0xA1 || (code >= 0x20 && code <= 0x38);
    return !mixerCode || mixers;
}

bool validChannel(uint8_t channel) {
    return channel >= 1 && channel <= 8;
}

std::vector<uint8_t> answer(uint8_t code, std::span<const uint8_t> data) {
    std::vector<uint8_t> a(2 + data.size(), 0);
    a[0] = kConfigReportId;
    a[1] = code;
    std::copy(data.begin(), data.end(), a.begin() + 2);
    return a;
}

} // namespace

void InterfaceModel::plugIn() {
    state_.working = state_.stored;
    state_.programmingMode = false;
}

void InterfaceModel::powerOff() {
    plugIn();
}

Reply InterfaceModel::handle(std::span<const uint8_t> report) {
    if (report.size() < 8 || report[0] != kConfigReportId) return {};
    if (!std::equal(kPrefix.begin(), kPrefix.end(), report.begin() + 1)) return {};
    const uint8_t code = report[5];
    const uint8_t v1 = report[6];
    const uint8_t v2 = report[7];
    const std::array<uint8_t, 2> echo{v1, v2};
    const std::array<uint8_t, 3> refusal{code, v1, v2};
    Reply reply;

    if (!firmwareHas(fw_, code)) {
        reply.answer = answer(kRefused, refusal);
        return reply;
    }
    if (isReadCode(code)) {
        reply.answer = answer(code, read(code));
        return reply;
    }
    if (code == kEnterProgramming) {
        reply.stateChanged = !state_.programmingMode;
        state_.programmingMode = true;
        reply.answer = answer(code, echo);
        return reply;
    }
    if (!state_.programmingMode) {
        reply.answer = answer(kRefused, refusal);
        return reply;
    }
    if (code == kLeaveProgramming) {
        if (v1 > 1) {
            reply.answer = answer(kRefused, refusal);
            return reply;
        }
        state_.programmingMode = false;
        if (v1 == 1) {
            state_.stored = state_.working;
            reply.reboot = state_.stored.bootloaderEnable;
        }
        reply.stateChanged = true;
        reply.answer = answer(code, echo);
        return reply;
    }
    if (!write(code, v1, v2)) {
        reply.answer = answer(kRefused, refusal);
        return reply;
    }
    reply.stateChanged = true;
    reply.answer = answer(code, echo);
    return reply;
}

bool InterfaceModel::write(uint8_t code, uint8_t v1, uint8_t v2) {
    Configuration& c = state_.working;
    const bool indexed = v1 >= 1 && v1 <= 8; // axis or button number
    switch (code) {
    case 0x02:
        if (!indexed || !validChannel(v2)) return false;
        c.axisChannel[v1 - 1] = v2;
        return true;
    case 0x03:
        c.axisInvert = v1;
        return true;
    case 0x04:
        if (!indexed || !validChannel(v2)) return false;
        c.buttonChannel[v1 - 1] = v2;
        return true;
    case 0x05:
        c.buttonInvert = v1;
        c.buttonActive = v2;
        return true;
    case 0x06:
        if (!indexed) return false;
        c.buttonThreshold[v1 - 1] = v2;
        return true;
    case 0x07:
        if (v1 != 0xFF || (v2 != 0xFF && v2 != 0x11)) return false;
        c.bootloaderEnable = v2 == 0xFF;
        return true;
    case 0x30:
        if (v1 > 1) return false;
        c.decodingMode = v1;
        return true;
    default:
        break;
    }
    if (const auto target = mixerTarget(code)) {
        Bytes8& table = c.*(target->table);
        table[2 * target->pair] = v1;
        table[2 * target->pair + 1] = v2;
        return true;
    }
    return false;
}

std::array<uint8_t, 6> InterfaceModel::read(uint8_t code) const {
    const Configuration& c = state_.working;
    std::array<uint8_t, 6> d{};
    switch (code) {
    case 0x10:
        packNibbles(c.axisChannel, d);
        d[4] = c.axisInvert;
        return d;
    case 0x11:
        packNibbles(c.buttonChannel, d);
        d[4] = c.buttonInvert;
        d[5] = c.buttonActive;
        return d;
    case 0x12:
        copyHalf(c.buttonThreshold, 0, d);
        return d;
    case 0x13:
        copyHalf(c.buttonThreshold, 1, d);
        return d;
    case 0x1C:
        d[0] = static_cast<uint8_t>(fw_.major);
        d[1] = static_cast<uint8_t>(fw_.minor);
        d[2] = static_cast<uint8_t>(fw_.revision >> 8);
        d[3] = static_cast<uint8_t>(fw_.revision & 0xFF);
        return d;
    case 0x1D:
        d[0] = c.decodingMode;
        return d;
    default:
        break;
    }
    if (const auto target = mixerReadTarget(code)) copyHalf(c.*(target->table), target->pair, d);
    return d;
}

} // namespace emu
