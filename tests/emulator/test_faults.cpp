// The host's input buffer per open handle and the injected faults.
#include "host_side.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;

emu::Bus busOf(const std::string& text) {
    std::string error;
    auto entries = emu::parseDeviceList(text, &error);
    EXPECT_TRUE(entries) << error;
    return emu::Bus(entries ? *entries : std::vector<emu::DeviceEntry>{});
}

// Everything readable by now, as whole reports.
std::vector<std::vector<uint8_t>> drain(emu::Port& port) {
    std::vector<std::vector<uint8_t>> reports;
    std::array<uint8_t, 64> buf{};
    for (int n; (n = port.read(buf)) > 0;)
        reports.emplace_back(buf.begin(), buf.begin() + n);
    return reports;
}

// The answer codes of the configuration requests readable by now.
std::vector<uint8_t> answerCodes(emu::Port& port) {
    std::vector<uint8_t> codes;
    for (const auto& r : drain(port))
        if (r[0] == 0xF9) codes.push_back(r[1]);
    return codes;
}

uint8_t readCode(int i) {
    return static_cast<uint8_t>(0x10 + i % 16);
}

TEST(Queue, LinuxKeeps63AndLosesNewReportsWindowsKeeps32AndLosesOldOnes) {
    for (const bool windows : {false, true}) {
        SCOPED_TRACE(windows ? "windows" : "linux");
        auto bus =
            busOf(std::string("interface:latency_ms=0:joy_ms=0") + (windows ? ":os=windows" : ""));
        auto port = bus.open("emu:0");
        const int kept = windows ? 32 : 63;
        for (int i = 0; i <= kept; ++i)
            ASSERT_EQ(port->write(host::request(readCode(i))), 8);
        std::this_thread::sleep_for(2ms);
        const auto codes = answerCodes(*port);
        ASSERT_EQ(codes.size(), static_cast<std::size_t>(kept));
        const int first = windows ? 1 : 0; // the one more than fits is lost at either end
        for (int i = 0; i < kept; ++i)
            EXPECT_EQ(codes[static_cast<std::size_t>(i)], readCode(first + i)) << i;
    }
}

TEST(Queue, AnIdleLinuxHandleKeepsOldJoystickReportsAndLosesTheAnswer) {
    auto bus = busOf("interface:latency_ms=0:joy_ms=1");
    auto port = bus.open("emu:0");
    std::this_thread::sleep_for(120ms); // far more reports than the buffer holds
    ASSERT_EQ(port->write(host::request(0x1C)), 8);
    std::this_thread::sleep_for(2ms);
    const auto reports = drain(*port);
    EXPECT_GE(reports.size(), 63u); // more only when a report came in while reading
    for (const auto& r : reports)
        EXPECT_EQ(r[0], 0x01);
    // Read away first, and the answer gets through.
    EXPECT_TRUE(host::exchange(*port, 0x1C));
}

TEST(Faults, LossFollowsItsSeed) {
    auto pattern = [](const char* keys) {
        auto bus = busOf(std::string("interface:latency_ms=0:joy_ms=0:") + keys);
        auto port = bus.open("emu:0");
        std::vector<bool> answered;
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(port->write(host::request(0x1C)), 8);
            answered.push_back(!answerCodes(*port).empty());
        }
        return answered;
    };
    const auto first = pattern("loss=0.5:seed=7");
    EXPECT_EQ(first, pattern("loss=0.5:seed=7")); // same keys, same faults
    EXPECT_NE(first, pattern("loss=0.5:seed=8"));
    const auto lost = std::count(first.begin(), first.end(), false);
    EXPECT_GT(lost, 5);
    EXPECT_LT(lost, 35);
    const auto all = pattern("loss=1");
    EXPECT_EQ(std::count(all.begin(), all.end(), true), 0);
}

TEST(Faults, LateAnswerHoldsUpTheOnesBehindIt) {
    auto bus = busOf("interface:latency_ms=0:joy_ms=0:late_ms=80:late_every=2");
    auto port = bus.open("emu:0");
    const auto sent = std::chrono::steady_clock::now();
    for (uint8_t code : {0x10, 0x11, 0x12})
        ASSERT_EQ(port->write(host::request(code)), 8);
    std::this_thread::sleep_for(5ms);
    const auto early = answerCodes(*port);
    if (std::chrono::steady_clock::now() - sent < 70ms) {
        EXPECT_EQ(early, (std::vector<uint8_t>{0x10}));
    }
    const auto second = host::awaitReport(*port, 0xF9);
    ASSERT_TRUE(second);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 80ms);
    EXPECT_EQ((*second)[1], 0x11);
    const auto third = host::awaitReport(*port, 0xF9);
    ASSERT_TRUE(third);
    EXPECT_EQ((*third)[1], 0x12);
}

TEST(Faults, DuplicatedAnswersAndFailedOrShortWrites) {
    auto bus = busOf("interface:latency_ms=0:joy_ms=0:dup=2,"
                     "interface:latency_ms=0:joy_ms=0:write_fail=2:write_short=3");
    auto doubled = bus.open("emu:0");
    for (uint8_t code : {0x10, 0x11, 0x12})
        ASSERT_EQ(doubled->write(host::request(code)), 8);
    std::this_thread::sleep_for(2ms);
    EXPECT_EQ(answerCodes(*doubled), (std::vector<uint8_t>{0x10, 0x11, 0x11, 0x12}));

    auto port = bus.open("emu:1");
    std::vector<int> results;
    for (int i = 0; i < 6; ++i)
        results.push_back(port->write(host::request(readCode(i))));
    EXPECT_EQ(results, (std::vector<int>{8, -1, 7, -1, 8, -1})); // a failure wins at the 6th
    std::this_thread::sleep_for(2ms);
    EXPECT_EQ(answerCodes(*port), (std::vector<uint8_t>{0x10, 0x14})); // only taken writes
    EXPECT_TRUE(port->connected());
}

TEST(Faults, ApplyInBootLoaderModeToo) {
    auto bus = busOf("loader:latency_ms=0:dup=1:write_short=2");
    auto port = bus.open("emu:0");
    ASSERT_EQ(port->write(host::loaderCommand(0x00)), 22);
    std::this_thread::sleep_for(2ms);
    const auto answers = drain(*port);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], answers[1]);
    EXPECT_EQ(port->write(host::loaderCommand(0xFE)), 21);
}

TEST(Faults, ReplugLeavesOnceAndComesBackWithItsStoredConfiguration) {
    auto bus = busOf("interface:latency_ms=0:joy_ms=0:replug_after_ms=60:away_ms=100");
    auto port = bus.open("emu:0");
    ASSERT_TRUE(host::exchange(*port, 0x01));
    ASSERT_TRUE(host::exchange(*port, 0x02, 1, 4)); // working configuration only
    std::array<uint8_t, 32> buf{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port->readBlocking(buf, 5000ms), -1); // wakes when the device leaves
    EXPECT_TRUE(bus.list().empty());
    EXPECT_FALSE(bus.open("emu:0"));

    std::unique_ptr<emu::Port> again;
    while (!again && std::chrono::steady_clock::now() - start < host::kPatience) {
        std::this_thread::sleep_for(5ms);
        again = bus.open("emu:0");
    }
    ASSERT_TRUE(again);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 95ms);
    EXPECT_EQ(port->write(host::request(0x10)), -1); // an old handle stays dead
    const auto axes = host::exchange(*again, 0x10);
    ASSERT_TRUE(axes);
    EXPECT_EQ((*axes)[2] & 0x0F, 1);
    // Once only: it stays on the bus well past another 60 ms.
    EXPECT_EQ(again->readBlocking(buf, 200ms), 0);
    EXPECT_TRUE(again->connected());
}

} // namespace
