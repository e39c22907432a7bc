// The boot loader driven the way the firmware dialog drives it, through a host-side link
// cipher written independently of the emulator's.
#include "emulator/link_cipher.h"
#include "host_side.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using host::loaderCommand;

constexpr uint8_t kRead = 0x01, kWrite = 0x02, kErase = 0x03, kLed = 0x32;

TEST(LinkCipher, DeviceMirrorsTheHostInBothDirections) {
    host::LinkCipher h;
    emu::LinkCipher d;
    h.sendChain = h.receiveChain = 0xC6;
    d.reset(0xC6);
    for (int p = 0; p < 256; ++p) {
        EXPECT_EQ(d.decode(h.encode(static_cast<uint8_t>(p))), p);
        EXPECT_EQ(h.decode(d.encode(static_cast<uint8_t>(255 - p))), 255 - p);
    }
    EXPECT_EQ(d.receiveChain, h.sendChain);
    EXPECT_EQ(d.sendChain, h.receiveChain);
}

class Loader : public ::testing::Test {
protected:
    explicit Loader(const char* text = "loader:latency_ms=0")
        : bus(*emu::parseDeviceList(text)), port(bus.open("emu:0")) {}

    std::array<uint8_t, 22> send(std::array<uint8_t, 22> plain) {
        const auto answer = host::loaderExchange(*port, link, plain);
        EXPECT_TRUE(answer);
        return answer.value_or(std::array<uint8_t, 22>{});
    }
    std::array<uint8_t, 16> readLine(uint32_t address) {
        const auto a = send(loaderCommand(kRead, 16, address));
        EXPECT_EQ(a[1], kRead);
        std::array<uint8_t, 16> data{};
        std::copy(a.begin() + 6, a.end(), data.begin());
        return data;
    }
    std::array<uint8_t, 22> writeLine(uint32_t address, const std::array<uint8_t, 16>& data) {
        auto r = loaderCommand(kWrite, 16, address);
        std::copy(data.begin(), data.end(), r.begin() + 6);
        return send(r);
    }

    emu::Bus bus;
    std::unique_ptr<emu::Port> port;
    host::LinkCipher link; // both chains 0, as when the firmware dialog loads
};

std::array<uint8_t, 16> pattern(uint32_t seed) {
    std::array<uint8_t, 16> d{};
    for (uint32_t i = 0; i < 16; ++i)
        d[i] = static_cast<uint8_t>(seed * 37 + i * 11 + 1);
    return d;
}

TEST_F(Loader, ProbeShowsTheVersionOnAFreshStartAndAgainLater) {
    const auto first = host::detect(*port, link, 1);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, (std::pair<int, int>{1, 5}));

    readLine(0x2000); // the chains move on
    // A second detection in the same dialog probes with the chains as they stand ...
    const auto second = host::detect(*port, link, 2);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, (std::pair<int, int>{1, 5}));
    // ... and a newly loaded dialog starts from 0 again.
    host::LinkCipher fresh;
    const auto third = host::detect(*port, fresh, 3);
    ASSERT_TRUE(third);
    EXPECT_EQ(*third, (std::pair<int, int>{1, 5}));
    link = fresh;
    const auto a = send(loaderCommand(kRead, 16, 0x2000));
    EXPECT_EQ(a[2], 16); // echo decodes: the chains are in step after every probe
    EXPECT_EQ(a[4], 0x20);
}

TEST_F(Loader, ProbeRestartsTheChainsOnBothSides) {
    // A fresh dialog's chains are 0: the whole probe answer decodes.
    std::array<uint8_t, 22> expected{};
    expected[0] = 0xF9;
    expected[6] = 5;
    expected[7] = 1;
    EXPECT_EQ(send(loaderCommand(0x00, 0x5A, 0x123456)), expected);
    // Right after it both sides stand at C6, so the very first byte of the next
    // exchange (the read count) already comes through in either direction.
    link.sendChain = link.receiveChain = 0xC6;
    const auto a = send(loaderCommand(kRead, 16, 0x2000));
    EXPECT_EQ(a[1], kRead);
    EXPECT_EQ(a[2], 16);

    // With the host's chains elsewhere only byte 2 of the probe answer can suffer.
    const auto again = send(loaderCommand(0x00, 0x11, 0x654321));
    for (std::size_t i = 3; i < 22; ++i)
        EXPECT_EQ(again[i], expected[i]) << i;
    link.sendChain = link.receiveChain = 0xC6;
    EXPECT_EQ(send(loaderCommand(kRead, 16, 0x2000))[2], 16);
}

TEST_F(Loader, EraseWriteReadRoundTripThroughFlash) {
    ASSERT_TRUE(host::detect(*port, link, 1));
    EXPECT_NE(readLine(0x2000), (std::array<uint8_t, 16>{})); // an application is installed

    const auto erase = send(loaderCommand(kErase, 1, 0x200F)); // any address in the block
    EXPECT_EQ(erase[1], kErase);
    std::array<uint8_t, 16> erased;
    erased.fill(0xFF);
    for (uint32_t a = 0x2000; a < 0x2040; a += 16)
        EXPECT_EQ(readLine(a), erased) << a;
    EXPECT_NE(readLine(0x2040), erased); // the next block is untouched

    for (uint32_t a = 0x2000; a < 0x2040; a += 16) {
        const auto ack = writeLine(a, pattern(a));
        EXPECT_EQ(ack[1], kWrite);
        EXPECT_EQ(ack[3] | (ack[4] << 8), static_cast<int>(a)); // address echoed
    }
    for (uint32_t a = 0x2000; a < 0x2040; a += 16)
        EXPECT_EQ(readLine(a), pattern(a)) << a;
}

TEST_F(Loader, ProgrammingWithoutEraseOnlyClearsBits) {
    ASSERT_TRUE(host::detect(*port, link, 1));
    const auto before = readLine(0x3000);
    const auto data = pattern(7);
    writeLine(0x3000, data);
    const auto after = readLine(0x3000);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], before[i] & data[i]);

    send(loaderCommand(kErase, 2, 0x3000));
    writeLine(0x3040, data); // second erased block
    EXPECT_EQ(readLine(0x3040), data);
}

TEST_F(Loader, BootAreaAndBeyondAreRefused) {
    ASSERT_TRUE(host::detect(*port, link, 1));
    const auto boot = readLine(0x1FF0); // the boot area can be read
    auto expectRefused = [&](std::array<uint8_t, 22> request, uint8_t reason) {
        const uint8_t command = request[1];
        const auto a = send(request);
        EXPECT_EQ(a[0], 0xF9);
        EXPECT_EQ(a[1], 0xEE);
        EXPECT_EQ(a[2], command);
        EXPECT_EQ(a[3], reason);
    };
    auto write = loaderCommand(kWrite, 16, 0x1FF0);
    expectRefused(write, 1);
    expectRefused(loaderCommand(kWrite, 16, 0x1FF8), 1); // straddles the boundary
    expectRefused(loaderCommand(kWrite, 16, 0x5FF8), 1);
    expectRefused(loaderCommand(kWrite, 17, 0x2000), 2);
    expectRefused(loaderCommand(kErase, 1, 0x1FC0), 1);
    expectRefused(loaderCommand(kErase, 2, 0x5FC0), 1);
    expectRefused(loaderCommand(kErase, 0, 0x2000), 2);
    expectRefused(loaderCommand(kRead, 16, 0x5FF8), 1);
    expectRefused(loaderCommand(kRead, 0, 0x2000), 2);
    expectRefused(loaderCommand(0x50), 3);
    EXPECT_EQ(readLine(0x1FF0), boot);
    // The last block of the application area is still open.
    EXPECT_EQ(send(loaderCommand(kErase, 1, 0x5FFF))[1], kErase);
}

TEST_F(Loader, LedEepromAndConfigMemory) {
    ASSERT_TRUE(host::detect(*port, link, 1));
    EXPECT_EQ(send(loaderCommand(kLed))[2], 1);
    EXPECT_EQ(send(loaderCommand(kLed))[2], 0);

    auto write = loaderCommand(0x05, 4, 0xFC);
    write[6] = 0x12;
    write[9] = 0x00;
    EXPECT_EQ(send(write)[1], 0x05);
    const auto back = send(loaderCommand(0x04, 4, 0xFC));
    EXPECT_EQ(back[6], 0x12);
    EXPECT_EQ(back[7], 0x00); // EEPROM bytes are overwritten, not ANDed
    EXPECT_EQ(back[9], 0x00);
    EXPECT_EQ(send(loaderCommand(0x04, 4, 0xFE))[1], 0xEE);
    EXPECT_EQ(send(loaderCommand(0x06, 16, 0))[6], 0xFF);
    EXPECT_EQ(send(loaderCommand(0x07, 1, 16))[1], 0xEE);
}

TEST_F(Loader, ReportsWithAnotherIdGetNoAnswer) {
    std::array<uint8_t, 22> other{};
    other[0] = 0x01;
    ASSERT_EQ(port->write(other), 22);
    EXPECT_FALSE(host::awaitReport(*port, 0xF9, 50ms));
    ASSERT_TRUE(host::detect(*port, link, 1)); // the chains were not disturbed
    EXPECT_EQ(send(loaderCommand(kRead, 16, 0x2000))[2], 16);
}

// The whole update as the firmware dialog runs it: erase every block, program every
// line, verify lines 514 to 1536.
TEST_F(Loader, FullUpdateStaysInStep) {
    ASSERT_TRUE(host::detect(*port, link, 9));
    for (uint32_t k = 0; k < 256; ++k)
        ASSERT_EQ(send(loaderCommand(kErase, 1, 0x200F + 64 * k))[1], kErase);
    for (uint32_t a = 0x2000; a < 0x6000; a += 16)
        ASSERT_EQ(writeLine(a, pattern(a))[1], kWrite);
    for (uint32_t a = 0x2010; a < 0x6000; a += 16)
        ASSERT_EQ(readLine(a), pattern(a)) << a;
}

class SlowLoader : public Loader {
protected:
    SlowLoader() : Loader("loader:latency_ms=3:fw=2.9") {}
};

TEST_F(SlowLoader, VersionFromTheFwKey) {
    const auto version = host::detect(*port, link, 4);
    ASSERT_TRUE(version);
    EXPECT_EQ(*version, (std::pair<int, int>{2, 9}));
}

class BareLoader : public Loader {
protected:
    BareLoader() : Loader("loader:latency_ms=0:bare_answers=1") {}
};

TEST_F(BareLoader, AnswersHoldOnlyTheVersionAndTheReadData) {
    const auto version = host::detect(*port, link, 5);
    ASSERT_TRUE(version);
    EXPECT_EQ(*version, (std::pair<int, int>{1, 5}));
    const std::array<uint8_t, 22> bare{0xF9};
    EXPECT_EQ(send(loaderCommand(kErase, 1, 0x200F)), bare);
    EXPECT_EQ(writeLine(0x2000, pattern(1)), bare);
    EXPECT_EQ(writeLine(0x1FF0, pattern(1)), bare); // a refusal says nothing either
    EXPECT_EQ(send(loaderCommand(kLed)), bare);
    const auto read = send(loaderCommand(kRead, 16, 0x2000));
    EXPECT_TRUE(std::all_of(read.begin() + 1, read.begin() + 6, [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::equal(read.begin() + 6, read.end(), pattern(1).begin()));
}

} // namespace
