// The console's logic without widgets: what the fields make of typed text, what is refused,
// and the send routine's tries against a scripted device.
#include <gtest/gtest.h>

#include <string>

#include "console/core/console_exchange.h"
#include "console/core/console_request.h"
#include "testreport/fake_report_port.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;
using console::prepareRequest;

std::string tokens(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + std::string("AB");
    return text;
}

TEST(ConsoleRequest, TypedReportIsPaddedToTheOutputLengthAndShownWhole) {
    const auto request = prepareRequest("f9", "1 2 3", "1", 8, 18);
    ASSERT_TRUE(request.ok()) << request.refusal;
    EXPECT_EQ(request.attempts, 1);
    EXPECT_EQ(console::txLine(request.output, 8), "tx: F9 01 02 03 00 00 00 00 \r\n");
    EXPECT_EQ(console::dataBytesText(request.output, 8), "01 02 03 00 00 00 00 ");
    // Two blanks give a 0 byte, a trailing blank one more; blanks around the id are no part
    // of it.
    const auto spaced = prepareRequest("5 ", "1  2 ", "1", 8, 18);
    ASSERT_TRUE(spaced.ok());
    EXPECT_EQ(console::txLine(spaced.output, 5), "tx: 05 01 00 02 00 \r\n");
}

TEST(ConsoleRequest, InputTheBuffersCannotHoldIsRefused) {
    EXPECT_NE(prepareRequest("1FF", "01", "1", 8, 18).refusal.find("report ID \"1FF\""),
              std::string::npos);
    EXPECT_NE(prepareRequest("F9", "01 1FF", "1", 8, 18).refusal.find("\"1FF\" is above FF"),
              std::string::npos);
    EXPECT_FALSE(prepareRequest("F9", tokens(101), "1", 8, 18).ok());
    EXPECT_FALSE(prepareRequest("F9", tokens(101) + " ", "1", 8, 18).ok());
    EXPECT_FALSE(prepareRequest("F9", "01", "1", 102, 18).ok());
    EXPECT_FALSE(prepareRequest("F9", "01", "1", 8, 102).ok());
    EXPECT_EQ(prepareRequest("F9", "01 hello world", "1", 8, 18).refusal,
              "Not sent: Byte 2 \"hello\" is not hexadecimal.\r\n");
    EXPECT_NE(prepareRequest("F9x", "01", "1", 8, 18).refusal.find("\"F9x\" is not hexadecimal"),
              std::string::npos);
    for (const char* attempts : {"", "0", "-1", "x", "2x", "101", "1.5"})
        EXPECT_FALSE(prepareRequest("F9", "01", attempts, 8, 18).ok()) << attempts;
    const auto refused = prepareRequest("F9", "01", "0", 8, 18);
    EXPECT_EQ(refused.refusal.rfind("Not sent: ", 0), 0u);
    EXPECT_EQ(refused.refusal.substr(refused.refusal.size() - 2), "\r\n");

    // What the console writes back for a full 101-byte report can be sent again.
    const auto full = prepareRequest("F9", tokens(100) + " ", " 100 ", 101, 101);
    ASSERT_TRUE(full.ok()) << full.refusal;
    EXPECT_EQ(full.output[100], 0xAB);
    EXPECT_EQ(full.attempts, 100);
}

TEST(ConsoleRequest, PastedLineBreaksAndTabsReadAsOneBlankEach) {
    EXPECT_EQ(console::dataFieldText("01\r\n02\t03\n04\r05"), "01 02 03 04 05");
    EXPECT_EQ(console::dataFieldText("01  02\r\n"), "01  02 ");
}

class ConsoleExchange : public ::testing::Test {
protected:
    FakeClock clock;
    FakeReportPort port{clock};
    const console::ConsoleLengths lengths{8, 18};
    report::ReportBuffer request{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C};
    const Report answer{0xF9, 0x1C, 0x01, 0x03, 0x00, 0x05};

    static Report shown(const report::ReportBuffer& b) { return Report(b.begin(), b.begin() + 18); }
};

TEST_F(ConsoleExchange, AnAnswerAtTheFifthTryAndTwoMoreAttemptsMakeFiftyOneTries) {
    port.onRequest = [&](FakeReportPort& p, const Report&) { p.deliver(answer, 4500us); };
    const auto outcome = console::runConsoleExchange(port, request, 3, lengths);
    ASSERT_EQ(outcome.answers.size(), 3u);
    Report expected = answer;
    expected.resize(18);
    EXPECT_EQ(shown(outcome.answers[0]), expected);
    EXPECT_EQ(shown(outcome.answers[1]), Report(18, 0));
    EXPECT_EQ(shown(outcome.answers[2]), Report(18, 0));
    EXPECT_EQ(outcome.tries, 51);
    EXPECT_EQ(console::outcomeStatus(outcome, 18),
              "Write completed successfully! \r\nRead failed! rdresult 0, inputReportLength 18"
              "\r\nWrite/Read attempts: 51\r\n");
    // Each try waited about a millisecond, no more.
    EXPECT_EQ(port.reads, 1 + 51);
}

TEST_F(ConsoleExchange, ReportsQueuedBeforeTheWriteAreNotTakenForTheAnswer) {
    port.deliver({0x01, 0x80, 0x80});
    port.onRequest = [&](FakeReportPort& p, const Report&) { p.deliver(answer, 1500us); };
    clock.advance(1ms);
    const auto outcome = console::runConsoleExchange(port, request, 1, lengths);
    EXPECT_EQ(outcome.drained, 1);
    EXPECT_EQ(outcome.answers[0][1], 0x1C);
    EXPECT_EQ(outcome.tries, 2);
    EXPECT_EQ(console::rxLine(outcome.answers[0], 6), "rx: F9 1C 01 03 00 05 \r\n");
    EXPECT_EQ(console::outcomeStatus(outcome, 18),
              "Write completed successfully! \r\nRead completed successfully!\r\n"
              "Write/Read attempts: 2\r\n");
}

TEST_F(ConsoleExchange, TheJoystickStreamDoesNotHideTheAnswer) {
    // A joystick report arriving just before the answer is passed over for it.
    port.onRequest = [&](FakeReportPort& p, const Report&) {
        p.deliver(Report{0x01, 0x80}, 500us);
        p.deliver(answer, 1200us);
    };
    auto outcome = console::runConsoleExchange(port, request, 1, lengths);
    EXPECT_EQ(outcome.answers[0][1], 0x1C);
    EXPECT_EQ(outcome.tries, 2);
    // A device that answers with another id still shows what came, once the tries end.
    port.onRequest = [&](FakeReportPort& p, const Report&) {
        p.deliver(Report{0x02, 0x07}, 500us);
    };
    outcome = console::runConsoleExchange(port, request, 1, lengths);
    EXPECT_EQ(outcome.answers[0][0], 0x02);
    EXPECT_FALSE(outcome.answered);
    EXPECT_EQ(outcome.tries, 50);
    EXPECT_EQ(console::outcomeStatus(outcome, 18),
              "Write completed successfully! \r\nRead failed! rdresult 0, inputReportLength 18"
              "\r\nNo answer came (no report with report ID F9); shown is the last report read, "
              "ID 02.\r\nWrite/Read attempts: 50\r\n");
}

// A library that plays a hostile device: reads that return 0 or a negative count but leave
// bytes in the buffer, and an input report length of 0.
struct HostilePort final : report::ReportPort {
    int readResult = 0;
    int write(std::span<const uint8_t, report::kReportBufferSize>) override { return 8; }
    int read(std::span<uint8_t, report::kReportBufferSize>) override { return 0; }
    int readFor(std::span<uint8_t, report::kReportBufferSize> r,
                std::chrono::milliseconds) override {
        std::ranges::fill(r, uint8_t{0xF9});
        return readResult;
    }
};

TEST(ConsoleHostileDevice, AnswerIsJudgedByWhatTheReadReturnedNotByTheBuffer) {
    const report::ReportBuffer request{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C};
    HostilePort port;
    for (const int result : {0, -1}) {
        port.readResult = result;
        const auto outcome = console::runConsoleExchange(port, request, 1, {8, 18});
        EXPECT_FALSE(outcome.answered) << result;
        EXPECT_EQ(console::rxLine(outcome.answers[0], 3), "rx: 00 00 00 \r\n") << result;
        EXPECT_EQ(console::outcomeStatus(outcome, 18).find("Read completed"), std::string::npos);
    }
    port.readResult = 18; // an input report length of 0: nothing can come back
    const auto empty = console::runConsoleExchange(port, request, 1, {8, 0});
    EXPECT_FALSE(empty.answered);
    EXPECT_NE(console::outcomeStatus(empty, 0).find("Read failed! rdresult 0, inputReportLength 0"),
              std::string::npos);
}

TEST_F(ConsoleExchange, FailedWriteOrAGoneDeviceReadsNothingAndIsBounded) {
    port.writeResults = {-1};
    auto outcome = console::runConsoleExchange(port, request, 2, lengths);
    EXPECT_EQ(outcome.tries, 51);
    EXPECT_EQ(port.reads, 1); // only the read that looked for queued reports
    EXPECT_EQ(console::outcomeStatus(outcome, 18),
              "Write failed!\r\nRead failed! rdresult 0, inputReportLength 18\r\n"
              "Write/Read attempts: 51\r\n");

    // A silent device: fifty waits of at most a millisecond each.
    const auto start = clock.now();
    outcome = console::runConsoleExchange(port, request, 1, lengths);
    EXPECT_EQ(outcome.tries, 50);
    EXPECT_LE(clock.now() - start, 50ms);

    port.leave();
    outcome = console::runConsoleExchange(port, request, 1, lengths);
    EXPECT_EQ(outcome.written, -1);
    EXPECT_EQ(outcome.received, 0);
}

} // namespace
} // namespace orvane::test
