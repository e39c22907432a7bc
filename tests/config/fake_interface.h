// A scripted interface behind the fake report port: it answers the read commands from a
// configuration it keeps, takes the write commands into it and acknowledges them.
#ifndef ORVANE_TESTS_CONFIG_FAKE_INTERFACE_H
#define ORVANE_TESTS_CONFIG_FAKE_INTERFACE_H

#include <chrono>
#include <cstdint>

#include "config/core/command_table.h"
#include "config/core/configuration.h"
#include "testreport/fake_report_port.h"

namespace orvane::test {

struct FakeInterface {
    config::Configuration config;
    int major = 1, minor = 3, revision = 5;
    bool programming = false;
    int stores = 0;

    static uint8_t nibbles(const std::array<int, 8>& c, std::size_t k) {
        return static_cast<uint8_t>(c[2 * k] | (c[2 * k + 1] << 4));
    }
    template <std::size_t N> static uint8_t bits(const std::array<bool, N>& f) {
        int m = 0;
        for (std::size_t i = 0; i < N; ++i)
            m |= f[i] ? 1 << i : 0;
        return static_cast<uint8_t>(m);
    }

    Report answer(const Report& q) {
        const uint8_t code = q[5], a = q[6], b = q[7];
        // Older firmware refuses what it does not have.
        if (!config::firmwareHasCode({major, minor, revision}, code))
            return Report{0xF9, 0xEE, code, a, b};
        Report r{0xF9, code, 0, 0, 0, 0, 0, 0};
        const auto mixer = [&](config::MixerField f, std::size_t first) {
            for (std::size_t k = 0; k < 4; ++k)
                r[2 + k] = static_cast<uint8_t>(config.mixers[f][first + k]);
        };
        const auto setPair = [&](config::MixerField f, int pair) {
            config.mixers[f][static_cast<std::size_t>(2 * pair)] = a;
            config.mixers[f][static_cast<std::size_t>(2 * pair + 1)] = b;
        };
        using config::MixerField;
        if (code >= 0x10 && code <= 0x11) {
            const auto& ch = code == 0x10 ? config.axisChannel : config.buttonChannel;
            for (std::size_t k = 0; k < 4; ++k)
                r[2 + k] = nibbles(ch, k);
            r[6] = bits(code == 0x10 ? config.axisInvert : config.buttonInvert);
            if (code == 0x11) r[7] = bits(config.buttonActive);
        } else if (code == 0x12 || code == 0x13) {
            for (std::size_t k = 0; k < 4; ++k)
                r[2 + k] = static_cast<uint8_t>(config.buttonThreshold[(code == 0x12 ? 0 : 4) + k]);
        } else if (code >= 0x14 && code <= 0x1B) {
            constexpr std::array<MixerField, 4> order = {MixerField::Assignment,
                                                         MixerField::Neutral, MixerField::Factor,
                                                         MixerField::Exponent};
            mixer(order[(code - 0x14) / 2], (code - 0x14) % 2 * 4);
        } else if (code == 0x1C) {
            r = {0xF9,
                 0x1C,
                 static_cast<uint8_t>(major),
                 static_cast<uint8_t>(minor),
                 static_cast<uint8_t>(revision >> 8),
                 static_cast<uint8_t>(revision & 0xFF)};
        } else if (code == 0x1D) {
            r[2] = static_cast<uint8_t>(config.decodingMode);
        } else if (code == 0x1E || code == 0x1F) {
            mixer(MixerField::FactorQ, code == 0x1E ? 0 : 4);
        } else if (code == 0xA0 || code == 0xA1) {
            mixer(MixerField::ExponentQ, code == 0xA0 ? 0 : 4);
        } else {
            r = {0xF9, code, a, b};
            if (code == 0x01) programming = true;
            if (code == 0xFF) {
                programming = false;
                stores += a;
            }
            if (code == 0x02) config.axisChannel[a - 1u] = b;
            if (code == 0x03) config.axisInvert = unpack(a);
            if (code == 0x04) config.buttonChannel[a - 1u] = b;
            if (code == 0x05) config.buttonInvert = unpack(a), config.buttonActive = unpack(b);
            if (code == 0x06) config.buttonThreshold[a - 1u] = b;
            if (code == 0x07) config.bootloaderEnable = b == 0xFF;
            if (code >= 0x20 && code <= 0x2F) {
                constexpr std::array<MixerField, 4> order = {
                    MixerField::Assignment, MixerField::Neutral, MixerField::Factor,
                    MixerField::Exponent};
                setPair(order[(code - 0x20) / 4], (code - 0x20) % 4);
            }
            if (code == 0x30) config.decodingMode = a, config.option = {a == 0, a == 1};
            if (code >= 0x31 && code <= 0x34) setPair(MixerField::FactorQ, code - 0x31);
            if (code >= 0x35 && code <= 0x38) setPair(MixerField::ExponentQ, code - 0x35);
        }
        return r;
    }

    static std::array<bool, 8> unpack(uint8_t m) {
        std::array<bool, 8> f{};
        for (std::size_t i = 0; i < 8; ++i)
            f[i] = (m >> i) & 1;
        return f;
    }

    // Answers every request on port after the latency.
    void attach(FakeReportPort& port,
                std::chrono::microseconds latency = std::chrono::milliseconds{1}) {
        port.onRequest = answerAfter(latency, [this](const Report& q) { return answer(q); });
    }
};

// A configuration in which every item differs from the defaults and from its neighbours.
inline config::Configuration distinctiveConfiguration() {
    config::Configuration c;
    c.axisChannel = {3, 1, 4, 8, 5, 2, 6, 7};
    c.axisInvert = {true, false, true, true, false, false, true, false};
    c.buttonChannel = {8, 7, 6, 5, 4, 3, 2, 1};
    c.buttonThreshold = {10, 20, 30, 162, 95, 200, 225, 255};
    c.buttonInvert = {false, true, false, false, true, true, false, true};
    c.buttonActive = {true, true, false, true, false, true, true, false};
    for (std::size_t f = 0; f < 6; ++f)
        for (std::size_t m = 0; m < 8; ++m)
            c.mixers.tables[f][m] = static_cast<int16_t>((f * 8 + m) * 5 + 1);
    c.mixers[config::MixerField::Assignment][2] = 0x27;
    c.mixers[config::MixerField::Factor][1] = 255; // -1
    c.option = {false, true};
    c.decodingMode = 1;
    return c;
}

} // namespace orvane::test

#endif
