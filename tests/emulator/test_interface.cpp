// The configuration protocol on the device side, driven report by report.
#include "emulator/interface_model.h"
#include "emulator/joystick.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using emu::InterfaceModel;

std::array<uint8_t, 8> request(uint8_t code, uint8_t v1 = 0, uint8_t v2 = 0) {
    return {0xF9, 0x00, 0x08, 0x15, 0xEE, code, v1, v2};
}

std::vector<uint8_t> answerOf(InterfaceModel& m, uint8_t code, uint8_t v1 = 0, uint8_t v2 = 0) {
    return m.handle(request(code, v1, v2)).answer;
}

std::vector<uint8_t> bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> v;
    for (int x : values)
        v.push_back(static_cast<uint8_t>(x));
    return v;
}

class Interface : public ::testing::Test {
protected:
    Interface() { EXPECT_EQ(answerOf(model, 0x01), bytes({0xF9, 0x01, 0, 0})); }
    InterfaceModel model{emu::FirmwareVersion{1, 3, 5}};
};

TEST_F(Interface, FactoryConfigurationReadsBack) {
    EXPECT_EQ(answerOf(model, 0x10), bytes({0xF9, 0x10, 0x21, 0x43, 0x65, 0x87, 0, 0}));
    EXPECT_EQ(answerOf(model, 0x11), bytes({0xF9, 0x11, 0x21, 0x43, 0x65, 0x87, 0, 0}));
    EXPECT_EQ(answerOf(model, 0x12), bytes({0xF9, 0x12, 128, 128, 128, 128, 0, 0}));
    EXPECT_EQ(answerOf(model, 0x1D), bytes({0xF9, 0x1D, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(model.state().working.bootloaderEnable);
}

TEST_F(Interface, AxisAndButtonWritesComeBackPackedAsTheProgramDecodesThem) {
    const std::array<uint8_t, 8> axes{3, 8, 1, 1, 5, 2, 7, 6};
    const std::array<uint8_t, 8> buttons{8, 7, 6, 5, 4, 3, 2, 1};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(answerOf(model, 0x02, static_cast<uint8_t>(i + 1), axes[i]),
                  bytes({0xF9, 0x02, i + 1, axes[i]}));
        answerOf(model, 0x04, static_cast<uint8_t>(i + 1), buttons[i]);
        answerOf(model, 0x06, static_cast<uint8_t>(i + 1), static_cast<uint8_t>(10 * i + 5));
    }
    answerOf(model, 0x03, 0x05);
    answerOf(model, 0x05, 0xA0, 0x0F);

    const auto axisAnswer = answerOf(model, 0x10);
    ASSERT_EQ(axisAnswer.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const uint8_t packed = axisAnswer[2 + i / 2];
        EXPECT_EQ(i % 2 == 0 ? (packed & 0x0F) : (packed >> 4), axes[i]) << "axis " << i;
    }
    EXPECT_EQ(axisAnswer[6], 0x05); // axes 0 and 2 inverted

    const auto buttonAnswer = answerOf(model, 0x11);
    EXPECT_EQ(buttonAnswer, bytes({0xF9, 0x11, 0x78, 0x56, 0x34, 0x12, 0xA0, 0x0F}));
    EXPECT_EQ(answerOf(model, 0x12), bytes({0xF9, 0x12, 5, 15, 25, 35, 0, 0}));
    EXPECT_EQ(answerOf(model, 0x13), bytes({0xF9, 0x13, 45, 55, 65, 75, 0, 0}));
}

TEST_F(Interface, MixerPairsLandInTheirTablesAndHalves) {
    struct Table {
        uint8_t firstWrite;
        uint8_t readLow;
        uint8_t readHigh;
    };
    // code base of the four pair writes, and the two read codes of the same table
    const Table tables[] = {{0x20, 0x14, 0x15}, {0x24, 0x16, 0x17}, {0x28, 0x18, 0x19},
                            {0x2C, 0x1A, 0x1B}, {0x31, 0x1E, 0x1F}, {0x35, 0xA0, 0xA1}};
    int seed = 1;
    for (const Table& t : tables) {
        std::array<uint8_t, 8> values{};
        for (auto& v : values)
            v = static_cast<uint8_t>(seed++ * 29);
        for (int j = 0; j < 4; ++j)
            answerOf(model, static_cast<uint8_t>(t.firstWrite + j), values[2 * j],
                     values[2 * j + 1]);
        EXPECT_EQ(answerOf(model, t.readLow),
                  bytes({0xF9, t.readLow, values[0], values[1], values[2], values[3], 0, 0}));
        EXPECT_EQ(answerOf(model, t.readHigh),
                  bytes({0xF9, t.readHigh, values[4], values[5], values[6], values[7], 0, 0}));
    }
    // The tables did not overwrite each other.
    EXPECT_EQ(answerOf(model, 0x14)[2], 29);
}

TEST_F(Interface, DecodingModeAndBootloaderSwitch) {
    answerOf(model, 0x30, 1);
    EXPECT_EQ(answerOf(model, 0x1D)[2], 1);
    EXPECT_EQ(answerOf(model, 0x30, 2)[1], emu::kRefused);
    EXPECT_EQ(answerOf(model, 0x1D)[2], 1);

    EXPECT_EQ(answerOf(model, 0x07, 0xFF, 0xFF)[1], 0x07);
    EXPECT_TRUE(model.state().working.bootloaderEnable);
    answerOf(model, 0x07, 0xFF, 0x11);
    EXPECT_FALSE(model.state().working.bootloaderEnable);
    EXPECT_EQ(answerOf(model, 0x07, 0x00, 0xFF)[1], emu::kRefused);
}

TEST_F(Interface, OutOfRangeValuesAreRefusedAndChangeNothing) {
    const auto before = model.state().working;
    EXPECT_EQ(answerOf(model, 0x02, 0, 3), bytes({0xF9, emu::kRefused, 0x02, 0, 3}));
    EXPECT_EQ(answerOf(model, 0x02, 9, 3)[1], emu::kRefused);
    EXPECT_EQ(answerOf(model, 0x02, 1, 0)[1], emu::kRefused);
    EXPECT_EQ(answerOf(model, 0x04, 1, 9)[1], emu::kRefused);
    EXPECT_EQ(answerOf(model, 0x06, 9, 1)[1], emu::kRefused);
    EXPECT_EQ(answerOf(model, 0x39, 1, 1)[1], emu::kRefused); // unknown code
    EXPECT_EQ(answerOf(model, 0xFF, 2)[1], emu::kRefused);
    EXPECT_EQ(model.state().working, before);
}

TEST_F(Interface, VersionAnswerCarriesTheFirmwareVersion) {
    InterfaceModel other(emu::FirmwareVersion{2, 1, 0x1234});
    EXPECT_EQ(answerOf(model, 0x1C), bytes({0xF9, 0x1C, 1, 3, 0, 5, 0, 0}));
    EXPECT_EQ(answerOf(other, 0x1C), bytes({0xF9, 0x1C, 2, 1, 0x12, 0x34, 0, 0}));
}

TEST_F(Interface, ReportsWithAnotherIdOrPrefixAreIgnored) {
    auto r = request(0x02, 1, 5);
    r[0] = 0xF8;
    EXPECT_TRUE(model.handle(r).answer.empty());
    r = request(0x02, 1, 5);
    r[3] = 0x16;
    EXPECT_TRUE(model.handle(r).answer.empty());
    EXPECT_EQ(model.state().working.axisChannel[0], 1);
    EXPECT_TRUE(model.handle(std::array<uint8_t, 3>{0xF9, 0x00, 0x08}).answer.empty());
}

TEST(InterfaceModes, WritesNeedProgrammingModeReadsDoNot) {
    InterfaceModel model(emu::FirmwareVersion{1, 3, 5});
    EXPECT_EQ(answerOf(model, 0x02, 1, 4), bytes({0xF9, emu::kRefused, 0x02, 1, 4}));
    EXPECT_EQ(answerOf(model, 0xFF, 1)[1], emu::kRefused);
    EXPECT_EQ(answerOf(model, 0x10)[1], 0x10);
    EXPECT_EQ(model.state().working.axisChannel[0], 1);
}

TEST(InterfaceModes, OnlyExitAndSaveStores) {
    InterfaceModel model(emu::FirmwareVersion{1, 3, 5});
    answerOf(model, 0x01);
    answerOf(model, 0x02, 1, 4);
    const auto leave = model.handle(request(0xFF, 0));
    EXPECT_EQ(leave.answer, bytes({0xF9, 0xFF, 0, 0}));
    EXPECT_FALSE(leave.reboot);
    EXPECT_EQ(model.state().working.axisChannel[0], 4);       // still in use ...
    EXPECT_EQ(model.state().stored.axisChannel[0], 1);        // ... but not stored
    EXPECT_EQ(answerOf(model, 0x02, 1, 5)[1], emu::kRefused); // programming mode is off

    answerOf(model, 0x01);
    answerOf(model, 0x02, 1, 6);
    EXPECT_EQ(answerOf(model, 0xFF, 1), bytes({0xF9, 0xFF, 1, 0}));
    EXPECT_EQ(model.state().stored.axisChannel[0], 6);

    answerOf(model, 0x01);
    answerOf(model, 0x02, 1, 7);
    model.plugIn(); // power cycle: the working configuration comes from storage
    EXPECT_EQ(model.state().working.axisChannel[0], 6);
    EXPECT_FALSE(model.state().programmingMode);
}

TEST(InterfaceModes, StoringTheBootloaderSwitchAsksForARestart) {
    InterfaceModel model(emu::FirmwareVersion{1, 3, 5});
    answerOf(model, 0x01);
    answerOf(model, 0x07, 0xFF, 0xFF);
    EXPECT_FALSE(model.handle(request(0xFF, 0)).reboot);
    answerOf(model, 0x01);
    EXPECT_TRUE(model.handle(request(0xFF, 1)).reboot);
}

// The joystick report, computed from channel positions through the configuration.
uint16_t axis(const std::array<uint8_t, 18>& report, int i) {
    return static_cast<uint16_t>(report[1 + 2 * i] | (report[2 + 2 * i] << 8));
}

// Older firmware refuses what it lacks and still serves the rest.
TEST(InterfaceModes, CodesAFirmwareVersionLacksAreRefused) {
    InterfaceModel v11{emu::FirmwareVersion{1, 1, 0}};
    InterfaceModel v12{emu::FirmwareVersion{1, 2, 0}};
    for (InterfaceModel* m : {&v11, &v12}) {
        answerOf(*m, 0x01);
        EXPECT_EQ(answerOf(*m, 0x30, 1), bytes({0xF9, 0xEE, 0x30, 1, 0}));
        EXPECT_EQ(answerOf(*m, 0x1D)[1], 0xEE);
        EXPECT_EQ(answerOf(*m, 0x10)[1], 0x10);
    }
    EXPECT_EQ(answerOf(v11, 0xA1), bytes({0xF9, 0xEE, 0xA1, 0, 0}));
    EXPECT_EQ(answerOf(v11, 0x28, 5, 6)[1], 0xEE);
    EXPECT_EQ(answerOf(v12, 0x28, 5, 6), bytes({0xF9, 0x28, 5, 6}));
}

TEST(Joystick, AxesFollowAssignmentAndInversion) {
    emu::Configuration c;
    const emu::Channels ch{0, 64, 128, 255, 10, 20, 30, 40};
    auto report = emu::joystickReport(c, ch);
    EXPECT_EQ(report[0], 0x01);
    EXPECT_EQ(axis(report, 0), 0);
    EXPECT_EQ(axis(report, 1), 64 * 257);
    EXPECT_EQ(axis(report, 3), 65535);
    EXPECT_EQ(report[17], 0); // no button is active

    c.axisChannel[0] = 4;
    c.axisInvert = 0x02;
    report = emu::joystickReport(c, ch);
    EXPECT_EQ(axis(report, 0), 65535);
    EXPECT_EQ(axis(report, 1), 65535 - 64 * 257);
}

TEST(Joystick, ButtonsTriggerAboveTheirLevelWhenActive) {
    emu::Configuration c;
    c.buttonActive = 0x0F;
    c.buttonChannel = {1, 1, 2, 2, 1, 1, 1, 1};
    c.buttonThreshold = {99, 100, 50, 50, 0, 0, 0, 0};
    c.buttonInvert = 0x08;
    const emu::Channels ch{100, 50, 0, 0, 0, 0, 0, 0};
    // button 1: 100 > 99; button 2: 100 > 100 fails; button 3: 50 > 50 fails;
    // button 4: inverted 50 > 50; buttons 5..8 inactive although above their level
    EXPECT_EQ(emu::joystickReport(c, ch)[17], 0x09);
}

TEST(Joystick, MixerAddsScaledSourceToDestination) {
    emu::Configuration c;
    c.mixerAssignment[0] = (1 << 4) | 2; // channel 2 onto channel 3
    c.neutral[0] = 100;
    c.factor[0] = 64; // half
    const emu::Channels ch{0, 180, 100, 0, 0, 0, 0, 0};
    EXPECT_EQ(emu::applyMixers(c, ch)[2], 100 + 40);

    c.factor[0] = static_cast<uint8_t>(-128); // minus the whole difference
    EXPECT_EQ(emu::applyMixers(c, ch)[2], 100 - 80);
    c.exponent[0] = 1; // halves it
    EXPECT_EQ(emu::applyMixers(c, ch)[2], 100 - 40);

    c.factor[0] = 0;
    c.factorQ[0] = 127;
    c.neutral[0] = 0;
    const emu::Channels full{0, 255, 255, 0, 0, 0, 0, 0};
    EXPECT_EQ(emu::applyMixers(c, full)[2], 255);                  // clamped
    EXPECT_EQ(emu::applyMixers(emu::Configuration{}, full), full); // unused mixers
}

} // namespace
