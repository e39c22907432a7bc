// The host's side of both protocols, written independently of the emulator so that the
// tests check the device against what a program sends and expects.
#ifndef TESTS_EMULATOR_HOST_SIDE_H
#define TESTS_EMULATOR_HOST_SIDE_H

#include "emulator/bus.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace host {

using namespace std::chrono_literals;

inline constexpr auto kPatience = 3000ms; // generous: the machine may be busy

// Reads until a report with the given id arrives; nothing on time-out or departure.
inline std::optional<std::vector<uint8_t>>
awaitReport(emu::Port& port, uint8_t id, std::chrono::milliseconds patience = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::array<uint8_t, 128> buf{};
    while (std::chrono::steady_clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const int n = port.readBlocking(buf, std::max(left, 1ms));
        if (n < 0) return std::nullopt;
        if (n > 0 && buf[0] == id) return std::vector<uint8_t>(buf.begin(), buf.begin() + n);
    }
    return std::nullopt;
}

// Configuration protocol: F9 00 08 15 EE code v1 v2.
inline std::array<uint8_t, 8> request(uint8_t code, uint8_t v1 = 0, uint8_t v2 = 0) {
    return {0xF9, 0x00, 0x08, 0x15, 0xEE, code, v1, v2};
}

inline std::optional<std::vector<uint8_t>> exchange(emu::Port& port, uint8_t code, uint8_t v1 = 0,
                                                    uint8_t v2 = 0) {
    if (port.write(request(code, v1, v2)) != 8) return std::nullopt;
    return awaitReport(port, 0xF9);
}

// The program's link cipher: chained on the last scrambled byte of each direction.
struct LinkCipher {
    uint8_t sendChain = 0;
    uint8_t receiveChain = 0;

    uint8_t encode(uint8_t p) {
        int t = sendChain ^ p;
        t = (t + 0x2B) % 256;
        const auto c = static_cast<uint8_t>(t ^ 0x5D);
        sendChain = c;
        return c;
    }
    uint8_t decode(uint8_t c) {
        int t = c ^ 0x5D;
        t = (t - 0x2B + 256) % 256;
        const auto p = static_cast<uint8_t>(t ^ receiveChain);
        receiveChain = c;
        return p;
    }
};

// One boot-loader exchange as the firmware dialog makes it: bytes 2..21 of the request
// scrambled, bytes 2..21 of the answer unscrambled. Returns the plain 22-byte answer.
inline std::optional<std::array<uint8_t, 22>> loaderExchange(emu::Port& port, LinkCipher& link,
                                                             std::array<uint8_t, 22> plain) {
    std::array<uint8_t, 22> out = plain;
    for (std::size_t i = 2; i < out.size(); ++i)
        out[i] = link.encode(plain[i]);
    if (port.write(out) != 22) return std::nullopt;
    const auto answer = awaitReport(port, 0xF9);
    if (!answer || answer->size() != 22) return std::nullopt;
    std::array<uint8_t, 22> in{};
    std::copy(answer->begin(), answer->end(), in.begin());
    for (std::size_t i = 2; i < in.size(); ++i)
        in[i] = link.decode(in[i]);
    return in;
}

inline std::array<uint8_t, 22> loaderCommand(uint8_t command, uint8_t count = 0,
                                             uint32_t address = 0) {
    std::array<uint8_t, 22> r{};
    r[0] = 0xF9;
    r[1] = command;
    r[2] = count;
    r[3] = static_cast<uint8_t>(address & 0xFF);
    r[4] = static_cast<uint8_t>((address >> 8) & 0xFF);
    r[5] = static_cast<uint8_t>((address >> 16) & 0xFF);
    return r;
}

// The detection of the firmware dialog: a probe with random bytes under the chains as they
// stand, then both chains set to C6 and the start command. Returns "major.minor".
inline std::optional<std::pair<int, int>> detect(emu::Port& port, LinkCipher& link, unsigned seed) {
    auto probe = loaderCommand(0x00);
    for (std::size_t i = 2; i < probe.size(); ++i)
        probe[i] = static_cast<uint8_t>(seed * 131 + i * 17);
    const auto answer = loaderExchange(port, link, probe);
    link.sendChain = link.receiveChain = 0xC6;
    if (!answer) return std::nullopt;
    auto start = loaderCommand(0xFE);
    for (std::size_t i = 2; i < start.size(); ++i)
        start[i] = static_cast<uint8_t>(seed * 7 + i);
    if (!loaderExchange(port, link, start)) return std::nullopt;
    return std::pair<int, int>{(*answer)[7], (*answer)[6]};
}

} // namespace host

#endif
