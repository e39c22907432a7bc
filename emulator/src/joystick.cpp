#include "emulator/joystick.h"

#include <algorithm>
#include <cstdlib>

namespace emu {

namespace {

int channelIndex(uint8_t channel) {
    return std::clamp<int>(channel, 1, 8) - 1;
}

bool bit(uint8_t mask, int i) {
    return ((mask >> i) & 1) != 0;
}

} // namespace

Channels applyMixers(const Configuration& c, const Channels& raw) {
    std::array<int, 8> sum{};
    for (int k = 0; k < 8; ++k)
        sum[k] = raw[k];
    for (int j = 0; j < 8; ++j) {
        const auto factor = static_cast<int8_t>(c.factor[j]);
        const auto factorQ = static_cast<int8_t>(c.factorQ[j]);
        if (factor == 0 && factorQ == 0) continue; // contributes nothing
        const int source = c.mixerAssignment[j] >> 4;
        const int destination = c.mixerAssignment[j] & 0x0F;
        if (source > 7 || destination > 7) continue;
        const int d = raw[source] - c.neutral[j];
        const int linear = factor * d / (128 << (c.exponent[j] % 8));
        const int quadratic = factorQ * d * std::abs(d) / (32768 << (c.exponentQ[j] % 8));
        sum[destination] += linear + quadratic;
    }
    Channels mixed{};
    for (int k = 0; k < 8; ++k)
        mixed[k] = static_cast<uint8_t>(std::clamp(sum[k], 0, 255));
    return mixed;
}

std::array<uint8_t, kJoystickReportLength> joystickReport(const Configuration& c,
                                                          const Channels& raw) {
    const Channels ch = applyMixers(c, raw);
    std::array<uint8_t, kJoystickReportLength> report{};
    report[0] = kJoystickReportId;
    for (int i = 0; i < 8; ++i) {
        int value = ch[channelIndex(c.axisChannel[i])] * 257;
        if (bit(c.axisInvert, i)) value = 65535 - value;
        report[1 + 2 * i] = static_cast<uint8_t>(value & 0xFF);
        report[2 + 2 * i] = static_cast<uint8_t>(value >> 8);
    }
    uint8_t buttons = 0;
    for (int i = 0; i < 8; ++i) {
        if (!bit(c.buttonActive, i)) continue;
        bool pressed = ch[channelIndex(c.buttonChannel[i])] > c.buttonThreshold[i];
        if (bit(c.buttonInvert, i)) pressed = !pressed;
        if (pressed) buttons = static_cast<uint8_t>(buttons | (1u << i));
    }
    report[17] = buttons;
    return report;
}

} // namespace emu
