// A boot loader behind a FakeReportPort for the sequence tests: its own chains, a flash of
// 24 KiB, and answers that can be lost or refused on demand. With bare set its answers carry
// only what the protocol promises: the probe's version in bytes 6 and 7, the read data in
// bytes 6..21, nothing echoed, byte 1 zero.
#ifndef ORVANE_TESTS_FAKE_BOOT_LOADER_H
#define ORVANE_TESTS_FAKE_BOOT_LOADER_H

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "firmware/core/link_cipher.h"
#include "testreport/fake_report_port.h"

namespace orvane::test {

class FakeBootLoader {
public:
    static constexpr std::size_t kFlashSize = 0x6000;
    std::array<uint8_t, kFlashSize> flash{};
    std::vector<Report> plainRequests; // each request after unscrambling
    std::set<std::size_t> lostAnswers; // request numbers (from 0) whose answer is lost
    std::set<std::size_t> refused;     // request numbers not carried out, answered F9 EE
    std::uint8_t major = 1, minor = 5;
    bool bare = false;

    explicit FakeBootLoader(FakeReportPort& port) {
        flash.fill(0x5A);
        port.onRequest = [this](FakeReportPort& p, const Report& request) {
            if (auto answer = handle(request, p.inputLength()))
                p.deliver(std::move(*answer), std::chrono::microseconds{1000});
        };
    }

private:
    std::optional<Report> handle(const Report& wire, int inputLength) {
        const std::size_t number = plainRequests.size();
        if (wire[1] == 0x00) device_.setChains(0);
        Report plain = wire;
        for (std::size_t i = 2; i < wire.size(); ++i)
            plain[i] = device_.decodeLinkByte(wire[i]);
        plainRequests.push_back(plain);
        Report answer(static_cast<std::size_t>(inputLength), 0);
        answer[0] = 0xF9;
        answer[1] = plain[1];
        const uint32_t address = plain[3] | (plain[4] << 8) | (plain[5] << 16);
        for (std::size_t i = 2; i < 6; ++i)
            answer[i] = plain[i];
        switch (refused.contains(number) ? 0xEE : plain[1]) { // a refused command does nothing
        case 0x00:
            answer[2] = 0;
            answer[6] = minor;
            answer[7] = major;
            break;
        case 0x01:
            for (std::size_t k = 0; k < 16; ++k)
                answer[6 + k] = flash[address + k];
            break;
        case 0x02:
            for (std::size_t k = 0; k < plain[2]; ++k)
                flash[address + k] &= plain[6 + k];
            break;
        case 0x03:
            for (std::size_t k = 0; k < 64u * plain[2]; ++k)
                flash[(address & ~0x3Fu) + k] = 0xFF;
            break;
        default:
            break;
        }
        if (bare) {
            std::fill(answer.begin() + 1, answer.begin() + 6, 0);
            if (plain[1] != 0x00 && plain[1] != 0x01)
                std::fill(answer.begin() + 6, answer.end(), 0);
        }
        if (refused.contains(number)) {
            std::fill(answer.begin() + 1, answer.end(), 0);
            answer[1] = 0xEE;
            answer[2] = plain[1];
            answer[3] = 1;
        }
        for (std::size_t i = 2; i < answer.size(); ++i)
            answer[i] = device_.encodeLinkByte(answer[i]);
        if (plain[1] == 0x00) device_.setChains(firmware::kInitialChain);
        if (lostAnswers.contains(number)) return std::nullopt;
        return answer;
    }

    firmware::LinkCipher device_;
};

} // namespace orvane::test

#endif
