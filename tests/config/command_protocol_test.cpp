// The configuration protocol without widgets: requests built from the panel's texts, the
// exchange over a scripted port, answers decoded into the record, the sequences' requests.
#include <gtest/gtest.h>

#include <variant>

#include "config/core/command_exchange.h"
#include "config/core/command_table.h"
#include "config/core/sequence_outcome.h"
#include "config/core/transfer_sequences.h"
#include "fake_interface.h"
#include "report/report_text.h"

namespace orvane::config {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::FakeInterface;
using test::FakeReportPort;
using test::Report;

constexpr ReportLengths kLengths{8, 18};

report::ReportBuffer requestOf(std::string_view text) {
    auto built = buildRequest("F9", text, kLengths);
    EXPECT_TRUE(std::holds_alternative<report::ReportBuffer>(built));
    return std::get<report::ReportBuffer>(built);
}

Configuration decoded(Report answer, Configuration record = {}) {
    answer.resize(18);
    decodeAnswer(answer, record);
    return record;
}

TEST(CommandTable, AnswersFillTheRecord) {
    const Configuration axes = decoded({0xF9, 0x10, 0x21, 0x43, 0x65, 0x87, 0x05});
    EXPECT_EQ(axes.axisChannel, (std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(axes.axisInvert,
              (std::array<bool, 8>{true, false, true, false, false, false, false, false}));

    const Configuration buttons = decoded({0xF9, 0x11, 0x21, 0x43, 0x65, 0x87, 0x80, 0x03});
    EXPECT_TRUE(buttons.buttonInvert[7]);
    EXPECT_TRUE(buttons.buttonActive[0] && buttons.buttonActive[1] && !buttons.buttonActive[2]);

    const Configuration q = decoded({0xF9, 0xA1, 1, 2, 3, 0xFF});
    EXPECT_EQ(q.mixers[MixerField::ExponentQ][7], 255);
    EXPECT_EQ(q.mixers[MixerField::ExponentQ][4], 1);

    Configuration mode = decoded({0xF9, 0x1D, 1});
    EXPECT_EQ(mode.decodingMode, 1);
    EXPECT_EQ(mode.option, (std::array<bool, 2>{false, true}));
    mode = decoded({0xF9, 0x1D, 7}, mode);
    EXPECT_EQ(mode.option, (std::array<bool, 2>{false, true})) << "other values leave the buttons";

    Configuration unknown;
    EXPECT_FALSE(decodeAnswer(Report{0xF9, 0x55, 1, 2, 3, 4, 5, 6}, unknown).decoded);
    EXPECT_FALSE(decodeAnswer(Report{0x01, 0x10, 1, 2, 3, 4, 5, 6}, unknown).decoded);
    EXPECT_EQ(unknown, Configuration{});
}

TEST(CommandTable, ChannelNibblesOutsideOneToEightAreRefusedOneByOne) {
    Configuration record;
    record.axisChannel = {5, 5, 5, 5, 5, 5, 5, 5};
    const auto effect = decodeAnswer(Report{0xF9, 0x10, 0x20, 0x43, 0x95, 0x87, 0x00, 0}, record);
    EXPECT_EQ(effect.impossible,
              (std::vector<std::string>{"axis 1 channel 0", "axis 6 channel 9"}));
    EXPECT_EQ(record.axisChannel, (std::array<int, 8>{5, 2, 3, 4, 5, 5, 7, 8}));

    // A decoding mode the interface does not have keeps the item, as a channel does.
    record.decodingMode = 1;
    record.option = {false, true};
    const auto mode = decodeAnswer(Report{0xF9, 0x1D, 2, 0, 0, 0, 0, 0}, record);
    EXPECT_EQ(mode.impossible, (std::vector<std::string>{"decoding mode 2"}));
    EXPECT_EQ(record.decodingMode, 1);
    EXPECT_EQ(record.option, (std::array<bool, 2>{false, true}));
}

TEST(CommandTable, VersionAnswerAndWhatTheFirmwareHas) {
    Configuration record;
    const auto effect = decodeAnswer(Report{0xF9, 0x1C, 1, 3, 0x80, 0x05, 0, 0}, record);
    ASSERT_TRUE(effect.version);
    EXPECT_EQ(*effect.version, (FirmwareVersion{1, 3, 0x8005})) << "no negative revision";
    EXPECT_TRUE(supportsMixers({1, 2, 0}) && !supportsDecodingMode({1, 2, 0}));
    EXPECT_FALSE(supportsMixers({1, 1, 9}) || supportsMixers({0, 9, 0}));
    EXPECT_TRUE(supportsDecodingMode({1, 3, 0}) && supportsDecodingMode({2, 0, 0}));
}

TEST(CommandTable, AnAnswerToAReadCarriesItsCode) {
    const auto read = requestOf("00 08 15 EE 12 00 00");
    EXPECT_TRUE(answersRequest(read, Report{0xF9, 0x12}));
    EXPECT_FALSE(answersRequest(read, Report{0xF9, 0x10})) << "a stale answer to another read";
    EXPECT_FALSE(answersRequest(read, Report{0x01, 0x12}));
    EXPECT_TRUE(answersRequest(requestOf("00 08 15 EE 01 00 00"), Report{0xF9, 0x01}));
}

TEST(BuildRequest, InputTheBuffersCannotHoldIsRefused) {
    const auto status = [](std::string_view id, const std::string& text, ReportLengths lengths) {
        const auto built = buildRequest(id, text, lengths);
        const auto* refused = std::get_if<RefusedRequest>(&built);
        return refused ? refused->status : std::string();
    };
    EXPECT_EQ(status("F9", "00 08 1FF", kLengths), "Not sent: Byte 3 \"1FF\" is above FF.\r\n");
    EXPECT_NE(status("1FF", "00", kLengths), "");
    std::string many;
    for (int i = 0; i < 101; ++i)
        many += "01 ";
    EXPECT_NE(status("F9", many, kLengths), "") << "101 tokens and a trailing empty one";
    EXPECT_EQ(status("F9", "00", {200, 18}),
              "Not sent: report lengths of 18 / 200 bytes do not fit the 101-byte report "
              "buffers.\r\n");
    EXPECT_NE(status("F9", "00", {8, 102}), "");
    EXPECT_EQ(status("F9", "0f 1G  x1 ", kLengths), "");
    EXPECT_EQ(std::get<report::ReportBuffer>(buildRequest("f9", "0f 1G  x1 ", kLengths))[2], 1);
}

struct CommandTest : ::testing::Test {
    FakeClock clock;
    FakeReportPort port{clock};
    FakeInterface device;
    Configuration record;

    CommandOutcome run(std::string_view text, bool filterJoy = false) {
        return runCommand(port, clock, requestOf(text), kLengths, filterJoy, record);
    }
};

TEST_F(CommandTest, AnsweredReadLogsBothReportsAndFillsTheRecord) {
    device.config.axisChannel = {8, 7, 6, 5, 4, 3, 2, 1};
    device.attach(port, 1500us);
    port.stream(Report{0x01, 0x80}, 10ms);
    clock.advance(3s); // idle: the queue is full of joystick reports
    const auto out = run("00 08 15 EE 10 00 00", true);
    EXPECT_EQ(out.putLine, "PUT: F9 00 08 15 EE 10 00 00 \r\n");
    EXPECT_EQ(out.getLine, "get: F9 10 78 56 34 12 00 00 00 00 00 00 00 00 00 00 00 00 \r\n");
    EXPECT_EQ(out.status, "Write completed successfully! \r\nRead completed successfully!\r\n"
                          "Write/Read attempts: 1\r\n");
    EXPECT_EQ(record.axisChannel, device.config.axisChannel);
}

TEST_F(CommandTest, LostAnswerEndsWithinItsBoundAndReportsTheFailure) {
    port.stream(Report{0x01, 0x80}, 10ms);
    const auto start = clock.now();
    auto out = run("00 08 15 EE 10 00 00", true);
    EXPECT_LE(clock.now() - start, 100ms);
    EXPECT_EQ(out.getLine, "") << "the last report read was a filtered joystick report";
    EXPECT_NE(out.status.find("Read failed!\r\n"), std::string::npos) << out.status;
    EXPECT_EQ(out.answerText.substr(0, 3), "80 ");
    EXPECT_EQ(record, Configuration{});

    out = run("00 08 15 EE 10 00 00", false);
    EXPECT_EQ(out.getLine.substr(0, 9), "get: 01 8");
}

TEST_F(CommandTest, FailedAndShortWritesReadNothing) {
    device.attach(port);
    port.writeResults = {-1, 5};
    auto out = run("00 08 15 EE 10 00 00");
    EXPECT_EQ(out.status, "Write failed!\r\nRead failed!\r\nWrite/Read attempts: 0\r\n");
    out = run("00 08 15 EE 10 00 00");
    EXPECT_EQ(out.status,
              "Write completed successfully! \r\nRead failed!\r\nWrite/Read attempts: 0\r\n");
    EXPECT_EQ(port.written.size(), 0u);
}

TEST_F(CommandTest, ShortRequestsArePaddedAndLongOnesCut) {
    device.attach(port);
    EXPECT_EQ(run("00 08").putLine, "PUT: F9 00 08 00 00 00 00 00 \r\n");
    EXPECT_EQ(run("00 08 15 EE 01 00 00 44 55").putLine, "PUT: F9 00 08 15 EE 01 00 00 \r\n");
    EXPECT_EQ(port.written.back(), (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x01, 0x00, 0x00}));
}

// Runs a sequence straight against the port, as the command line does.
void runDirect(const std::vector<SequenceStep>& steps, CommandTest& t) {
    runSequence(steps,
                [&t](std::string_view text) {
                    runCommand(t.port, t.clock, requestOf(text), kLengths, true, t.record);
                },
                {});
}

TEST_F(CommandTest, TransmitThenLoadCarriesEveryItem) {
    device.attach(port);
    port.stream(Report{0x01}, 10ms);
    record = test::distinctiveConfiguration();
    const auto transmit = transmitSequence(record);
    EXPECT_EQ(requestCount(transmit), 54u);
    runDirect(transmit, *this);
    ASSERT_EQ(port.written.size(), 54u);
    EXPECT_EQ(port.written[1], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x07, 0xFF, 0x11}));
    EXPECT_EQ(port.written[12], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x04, 0x02, 0x07}));
    EXPECT_EQ(port.written[19], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x05, 0xB2, 0x6B}));
    EXPECT_EQ(port.written[27], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x06, 0x08, 0xFF}));
    EXPECT_EQ(port.written[53], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(device.config, record);
    EXPECT_EQ(device.stores, 0);

    record = Configuration{};
    const auto load = loadSequence();
    EXPECT_EQ(requestCount(load), 20u);
    runDirect(load, *this);
    EXPECT_EQ(record, device.config);
}

TEST(Sequences, ProgressMarksAndStore) {
    std::vector<double> marks;
    int sent = 0;
    runSequence(
        loadSequence(), [&](std::string_view) { ++sent; }, [&](double f) { marks.push_back(f); });
    EXPECT_EQ(marks,
              (std::vector<double>{0, 0.1, 0.2, 0.25, 0.42, 0.5, 0.62, 0.7, 0.8, 0.9, 0.95, 1.0}));
    marks.clear();
    runSequence(
        transmitSequence({}), [&](std::string_view) {}, [&](double f) { marks.push_back(f); });
    EXPECT_EQ(marks,
              (std::vector<double>{0, 0.1, 0.2, 0.3, 0.4, 0.45, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0}));
    const auto store = storeSequence();
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store[1].request, "00 08 15 EE FF 01 00");
}

// Runs a sequence against the port as the command line does, counting what failed.
SequenceTally runCounted(SequenceKind kind, const std::vector<SequenceStep>& steps,
                         CommandTest& t) {
    return runSequence(kind, steps,
                       [&t](std::string_view text) {
                           auto built = buildRequest("F9", text, kLengths);
                           if (const auto* refused = std::get_if<RefusedRequest>(&built))
                               return refusedStep(*refused);
                           return stepOutcome(runCommand(t.port, t.clock,
                                                         std::get<report::ReportBuffer>(built),
                                                         kLengths, true, t.record),
                                              kLengths);
                       },
                       {});
}

TEST_F(CommandTest, ACompleteSequenceSaysSoAndAFailedOneNamesHowManyOfHowMany) {
    device.attach(port);
    const auto done = runCounted(SequenceKind::Load, loadSequence(), *this);
    EXPECT_TRUE(done.complete());
    EXPECT_EQ(sequenceSummary(done), "Configuration read from the interface: all 20 commands "
                                     "answered.");

    // The third and the fifth write fail; the handle stays usable.
    port.writeResults = {8, 8, -1, 8, 5};
    const auto failed = runCounted(SequenceKind::Transmit, transmitSequence(record), *this);
    EXPECT_EQ(failed.requests, 54);
    EXPECT_EQ(failed.notWritten, 2);
    EXPECT_EQ(failed.unwrittenFrom, 0);
    const std::string text = sequenceSummary(failed);
    EXPECT_EQ(text.find("completed successfully"), std::string::npos);
    EXPECT_EQ(text, "The transmission did not fully happen: 2 of 54 commands failed (2 not "
                    "written). Until it is reconnected, the interface may run a mix of old and "
                    "new values; its stored configuration is untouched.");
}

TEST_F(CommandTest, AMixerEntryBeyondAByteIsNotSentAndNamed) {
    device.attach(port);
    record = test::distinctiveConfiguration();
    record.mixers[MixerField::Factor][2] = 300;   // "12C"
    record.mixers[MixerField::ExponentQ][5] = -5; // "FFFB"
    const auto notTaken = valuesTheInterfaceCannotTake(record);
    EXPECT_EQ(notTaken, (std::vector<std::string>{"mixer 3 factor 300", "mixer 6 Q-exponent -5"}));
    const Configuration sent = record;
    const auto tally = runCounted(SequenceKind::Transmit, transmitSequence(sent), *this);
    EXPECT_EQ(port.written.size(), 52u);
    EXPECT_EQ(tally.refused, 2);
    EXPECT_EQ(device.config.mixers[MixerField::Factor][3], 0) << "its partner went neither";
    const std::string text = sequenceSummary(tally, notTaken);
    EXPECT_NE(text.find("2 of 54 commands failed (2 not sent)"), std::string::npos) << text;
    EXPECT_NE(text.find("mixer 3 factor 300, mixer 6 Q-exponent -5"), std::string::npos);
}

TEST_F(CommandTest, SilenceALeavingDeviceAndImpossibleAnswersAreToldApart) {
    const auto silent = runCounted(SequenceKind::Load, loadSequence(), *this);
    EXPECT_EQ(silent.notAnswered, 20);
    EXPECT_EQ(sequenceSummary(silent),
              "The read did not fully happen: 20 of 20 commands failed (20 not answered).");
    EXPECT_EQ(readFailureNote(silent),
              "Nothing was read: the controls do not show the interface's configuration.");

    device.attach(port);
    port.writeResults = {8, 8, 8, -1, -1, -1};
    port.writeResults.resize(20, -1);
    const auto left = runCounted(SequenceKind::Load, loadSequence(), *this);
    EXPECT_EQ(left.unwrittenFrom, 4);
    EXPECT_NE(sequenceSummary(left).find("Nothing could be written from command 4 on"),
              std::string::npos);

    device.config.axisChannel[1] = 0;
    device.config.decodingMode = 3;
    const auto odd = runCounted(SequenceKind::Load, loadSequence(), *this);
    EXPECT_EQ(odd.failed(), 0);
    EXPECT_FALSE(odd.complete());
    EXPECT_NE(sequenceSummary(odd).find("answer 10 (axis 2 channel 0), answer 1D (decoding mode "
                                        "3)"),
              std::string::npos)
        << sequenceSummary(odd);
}

// Firmware 1.1 refuses the mixer and decoding-mode codes: once the version is known those
// commands are counted apart; a refusal of anything else fails and is named.
TEST_F(CommandTest, CommandsAFirmwareLacksAreNoFailureButARefusalIs) {
    device.minor = 1;
    device.attach(port);
    auto load = runCounted(SequenceKind::Load, loadSequence(), *this);
    load.countUnsupported({1, 1, 0});
    EXPECT_EQ(sequenceSummary(load), "Configuration read from the interface: 7 commands "
                                     "answered; 13 not supported by firmware 1.1 (mixers, "
                                     "decoding mode).");
    auto refused = runCounted(SequenceKind::Load, loadSequence(), *this);
    refused.countUnsupported({1, 3, 0});
    EXPECT_EQ(sequenceSummary(refused), "The read did not fully happen: 13 of 20 commands failed "
                                        "(13 refused by the interface).");
}

// What a store that did not fully happen leaves depends on its last command, FF 01.
TEST(SequenceOutcome, StoringSaysWhetherTheInterfaceStored) {
    const auto storing = [](ExchangeStatus enter, ExchangeStatus store) {
        SequenceTally t;
        t.kind = SequenceKind::Store;
        t.add({enter, {}, {}, false, 0x01});
        t.add({store, {}, {}, false, 0xFF});
        return sequenceSummary(t);
    };
    EXPECT_NE(storing(ExchangeStatus::Done, ExchangeStatus::NotAnswered)
                  .find("the interface may or may not have stored its configuration"),
              std::string::npos);
    EXPECT_NE(storing(ExchangeStatus::NotAnswered, ExchangeStatus::Done)
                  .find("The interface answered the store command: it stored"),
              std::string::npos);
    EXPECT_NE(storing(ExchangeStatus::Done, ExchangeStatus::RefusedByInterface)
                  .find("(1 refused by the interface). The interface refused the store command: "
                        "it did not store"),
              std::string::npos);
    EXPECT_NE(storing(ExchangeStatus::NotWritten, ExchangeStatus::NotWritten)
                  .find("did not reach the interface: it did not store"),
              std::string::npos);
}

} // namespace
} // namespace orvane::config
