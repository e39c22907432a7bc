// Timing, queues and joystick reports of open handles.
#include "host_side.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;

emu::Bus busOf(const char* text, std::string statePath = {}) {
    std::string error;
    auto entries = emu::parseDeviceList(text, &error);
    EXPECT_TRUE(entries) << error;
    return emu::Bus(entries ? *entries : std::vector<emu::DeviceEntry>{}, std::move(statePath));
}

int readNow(emu::Port& port, std::vector<uint8_t>& out) {
    std::array<uint8_t, 64> buf{};
    const int n = port.read(buf);
    out.assign(buf.begin(), buf.begin() + std::max(n, 0));
    return n;
}

TEST(Bus, AnswerBecomesReadableAfterItsLatency) {
    auto bus = busOf("interface:latency_ms=150:joy_ms=0");
    auto port = bus.open("emu:0");
    ASSERT_TRUE(port);
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(port->write(host::request(0x1C)), 8);
    std::vector<uint8_t> got;
    const int early = readNow(*port, got);
    if (std::chrono::steady_clock::now() - sent < 140ms) {
        EXPECT_EQ(early, 0);
    }

    const auto answer = host::awaitReport(*port, 0xF9);
    ASSERT_TRUE(answer);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 150ms);
    EXPECT_EQ(answer->size(), 18u); // padded to the input report length
    EXPECT_EQ((*answer)[1], 0x1C);
}

TEST(Bus, ReadBlockingTimesOutWithNothing) {
    auto bus = busOf("interface:joy_ms=0");
    auto port = bus.open("emu:0");
    std::array<uint8_t, 32> buf{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port->readBlocking(buf, 30ms), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

TEST(Bus, ReadBlockingWakesForAWriteFromAnotherThread) {
    auto bus = busOf("interface:latency_ms=0.5:joy_ms=0");
    auto port = bus.open("emu:0");
    std::thread writer([&] {
        std::this_thread::sleep_for(50ms);
        port->write(host::request(0x10));
    });
    std::array<uint8_t, 32> buf{};
    const int n = port->readBlocking(buf, std::nullopt); // no timeout: waits for the answer
    writer.join();
    ASSERT_EQ(n, 18);
    EXPECT_EQ(buf[1], 0x10);
}

TEST(Bus, AnswersKeepTheirOrderAmongJoystickReports) {
    auto bus = busOf("interface:latency_ms=2:channels=10/20/30/40/50/60/70/80");
    auto port = bus.open("emu:0");
    for (uint8_t code : {0x10, 0x11, 0x12, 0x13}) {
        ASSERT_EQ(port->write(host::request(code)), 8);
        std::this_thread::sleep_for(15ms); // a joystick report falls between two answers
    }
    std::vector<uint8_t> answers;
    int joystick = 0;
    std::array<uint8_t, 32> buf{};
    const auto deadline = std::chrono::steady_clock::now() + host::kPatience;
    while (answers.size() < 4 && std::chrono::steady_clock::now() < deadline) {
        const int n = port->readBlocking(buf, 100ms);
        ASSERT_GE(n, 0);
        if (n == 0) continue;
        ASSERT_EQ(n, 18);
        if (buf[0] == 0xF9) {
            answers.push_back(buf[1]);
        } else {
            ASSERT_EQ(buf[0], 0x01);
            EXPECT_EQ(buf[1] | (buf[2] << 8), 10 * 257);
            ++joystick;
        }
    }
    EXPECT_EQ(answers, (std::vector<uint8_t>{0x10, 0x11, 0x12, 0x13}));
    EXPECT_GE(joystick, 1);
}

TEST(Bus, EachHandleQueuesOnlyWhatCameAfterItOpened) {
    auto bus = busOf("interface:latency_ms=0:joy_ms=0");
    auto first = bus.open("emu:0");
    ASSERT_EQ(first->write(host::request(0x10)), 8);
    auto second = bus.open("emu:0");
    ASSERT_EQ(second->write(host::request(0x11)), 8);

    const auto a = host::awaitReport(*first, 0xF9);
    const auto b = host::awaitReport(*first, 0xF9);
    const auto c = host::awaitReport(*second, 0xF9);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ((*a)[1], 0x10);
    EXPECT_EQ((*b)[1], 0x11);
    EXPECT_EQ((*c)[1], 0x11); // the answer to 0x10 was sent before it opened
    std::vector<uint8_t> rest;
    EXPECT_EQ(readNow(*second, rest), 0);
}

TEST(Bus, FullWindowsQueueLosesItsOldestReports) {
    auto bus = busOf("interface:latency_ms=0:joy_ms=0:queue=3:os=windows");
    auto port = bus.open("emu:0");
    for (uint8_t code : {0x12, 0x13, 0x14, 0x15, 0x16})
        ASSERT_EQ(port->write(host::request(code)), 8);
    std::this_thread::sleep_for(5ms);
    std::vector<uint8_t> got;
    std::vector<uint8_t> codes;
    while (readNow(*port, got) > 0)
        codes.push_back(got[1]);
    EXPECT_EQ(codes, (std::vector<uint8_t>{0x14, 0x15, 0x16}));
}

TEST(Bus, JoystickReportShowsAChangedConfiguration) {
    auto bus = busOf("interface:latency_ms=0.5:channels=64");
    auto port = bus.open("emu:0");
    auto axisX = [&]() -> int {
        const auto r = host::awaitReport(*port, 0x01);
        return r ? (*r)[1] | ((*r)[2] << 8) : -1;
    };
    EXPECT_EQ(axisX(), 64 * 257);
    ASSERT_TRUE(host::exchange(*port, 0x01));
    ASSERT_TRUE(host::exchange(*port, 0x03, 0x01)); // invert X
    // Drain what was sent before the change, then look at a fresh report.
    std::array<uint8_t, 32> buf{};
    while (port->read(buf) > 0) {
    }
    EXPECT_EQ(axisX(), 65535 - 64 * 257);
}

TEST(Bus, JoystickReportsComeAboutEveryTenMilliseconds) {
    auto bus = busOf("interface");
    auto port = bus.open("emu:0");
    std::this_thread::sleep_for(100ms);
    std::vector<uint8_t> got;
    int count = 0;
    while (readNow(*port, got) > 0) {
        EXPECT_EQ(got[0], 0x01);
        ++count;
    }
    EXPECT_GE(count, 5);
    EXPECT_LE(count, 32); // never more than the input buffer holds
}

TEST(Bus, SilentDeviceNeverAnswersAndDropLosesEveryNth) {
    auto bus =
        busOf("interface:silent=1:joy_ms=0:latency_ms=0,interface:drop=2:joy_ms=0:latency_ms=0");
    auto silent = bus.open("emu:0");
    ASSERT_EQ(silent->write(host::request(0x10)), 8);
    EXPECT_FALSE(host::awaitReport(*silent, 0xF9, 100ms));

    auto lossy = bus.open("emu:1");
    for (uint8_t code : {0x12, 0x13, 0x14, 0x15})
        ASSERT_EQ(lossy->write(host::request(code)), 8);
    std::this_thread::sleep_for(5ms);
    std::vector<uint8_t> got;
    std::vector<uint8_t> codes;
    while (readNow(*lossy, got) > 0)
        codes.push_back(got[1]);
    EXPECT_EQ(codes, (std::vector<uint8_t>{0x12, 0x14}));
}

TEST(Bus, LockedDeviceIsListedButCannotBeOpened) {
    auto bus = busOf("interface:locked=1,interface");
    const auto listed = bus.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_TRUE(listed[0].locked);
    EXPECT_FALSE(bus.open("emu:0"));
    EXPECT_TRUE(bus.open("emu:1"));
    EXPECT_FALSE(bus.open("emu:7"));
}

TEST(Bus, ShortReportsArePaddedAndHandlesOutliveTheBus) {
    std::unique_ptr<emu::Port> port;
    {
        auto bus = busOf("interface:latency_ms=0:joy_ms=0");
        port = bus.open("emu:0");
        const std::array<uint8_t, 6> shortRequest{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x12};
        EXPECT_EQ(port->write(shortRequest), 8); // value bytes 0 0
        const auto answer = host::awaitReport(*port, 0xF9);
        ASSERT_TRUE(answer);
        EXPECT_EQ((*answer)[1], 0x12);
        EXPECT_TRUE(port->connected());
    }
    EXPECT_FALSE(port->connected());
    std::array<uint8_t, 32> buf{};
    EXPECT_EQ(port->read(buf), -1);
    EXPECT_EQ(port->write(host::request(0x10)), -1);
}

TEST(Bus, UnpluggedDeviceFailsItsHandlesUntilReplugged) {
    auto bus = busOf("interface:unplug_after_ms=40:joy_ms=0");
    auto port = bus.open("emu:0");
    ASSERT_TRUE(port);
    std::array<uint8_t, 32> buf{};
    EXPECT_EQ(port->readBlocking(buf, 5000ms), -1); // wakes when the device leaves
    EXPECT_FALSE(port->connected());
    EXPECT_TRUE(bus.list().empty());
    EXPECT_FALSE(bus.open("emu:0"));

    bus.replug("emu:0");
    EXPECT_EQ(bus.list().size(), 1u);
    EXPECT_EQ(port->read(buf), -1); // an old handle stays dead
    auto again = bus.open("emu:0");
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->connected());
}

} // namespace
