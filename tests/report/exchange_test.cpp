#include "report/exchange.h"

#include <gtest/gtest.h>

#include "testreport/fake_report_port.h"

namespace orvane::report {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::FakeReportPort;
using test::Report;

// The interface answers a read command with F9 and the command's code.
std::optional<Report> configAnswer(const Report& request) {
    return Report{0xF9, request[5], 0x21, 0x43};
}

bool answersCode(std::span<const uint8_t, kReportBufferSize> r, uint8_t code) {
    return r[0] == 0xF9 && r[1] == code;
}

struct ExchangeTest : ::testing::Test {
    FakeClock clock;
    FakeReportPort port{clock};
    ExchangeOptions options{.outputReportLength = 8, .inputReportLength = 18, .timeout = {}};
    ReportBuffer answer{};

    ExchangeResult send(uint8_t code) {
        ReportBuffer request{0xF9, 0x00, 0x08, 0x15, 0xEE, code};
        return exchange(
            port, clock, request, answer, [code](auto r) { return answersCode(r, code); }, options);
    }
};

TEST_F(ExchangeTest, WaitsForALateAnswerPastTheJoystickStream) {
    port.stream(Report{0x01, 0x80}, 10ms);
    port.onRequest = test::answerAfter(25ms, configAnswer);
    const auto start = clock.now();
    const auto result = send(0x10);
    EXPECT_TRUE(result.answered);
    EXPECT_EQ(result.lastRead, 18);
    EXPECT_EQ(answer[2], 0x21);
    EXPECT_EQ(clock.now() - start, 25ms) << "taken as soon as it arrived";
    EXPECT_EQ(result.reads, 3) << "two joystick reports read out of the way";
}

TEST_F(ExchangeTest, StaleReportsAreReadAwayBeforeTheRequest) {
    // After idling the kernel queue is full: the answer would be dropped, and an old answer
    // to the same command must not be taken for the new one.
    port.stream(Report{0x01}, 10ms);
    port.deliver(Report{0xF9, 0x10, 0xEE});
    clock.advance(2s);
    port.onRequest = test::answerAfter(1ms, configAnswer);
    const auto result = send(0x10);
    EXPECT_TRUE(result.answered);
    EXPECT_EQ(answer[2], 0x21);
    EXPECT_EQ(result.drained, 63);
    EXPECT_GT(port.dropped, 0);
}

TEST_F(ExchangeTest, ALostAnswerEndsAtTheBound) {
    port.stream(Report{0x01}, 10ms);
    const auto start = clock.now();
    const auto result = send(0x10);
    EXPECT_FALSE(result.answered);
    EXPECT_EQ(clock.now() - start, kDefaultAnswerTimeout);
    EXPECT_EQ(answer[0], 0x01) << "the last report read is kept";
    // Without any stream: one read that waits the whole bound.
    port.stopStream();
    EXPECT_EQ(send(0x10).reads, 1);
}

TEST_F(ExchangeTest, TheBoundIsThePortsUnlessTheExchangeNamesOne) {
    port.setAnswerTimeout(2s);
    port.onRequest = test::answerAfter(1500ms, configAnswer);
    EXPECT_TRUE(send(0x10).answered) << "an answer within the port's longer bound";
    options.timeout = 1s;
    const auto start = clock.now();
    EXPECT_FALSE(send(0x10).answered);
    EXPECT_EQ(clock.now() - start, 1s);
}

TEST_F(ExchangeTest, AFloodOfOtherReportsEndsAtTheReadBound) {
    port.stream(Report{0x01}, 10us);
    const auto result = send(0x10);
    EXPECT_FALSE(result.answered);
    EXPECT_EQ(result.reads, options.maxReads);
}

TEST_F(ExchangeTest, ShortOrFailedWritesMakeNoRead) {
    port.writeResults = {-1, 5};
    EXPECT_EQ(send(0x10).written, -1);
    const auto shortWrite = send(0x10);
    EXPECT_EQ(shortWrite.written, 5);
    EXPECT_FALSE(shortWrite.writeComplete(options));
    EXPECT_EQ(shortWrite.reads, 0);
    EXPECT_TRUE(port.written.empty());
}

TEST_F(ExchangeTest, ADeviceThatLeavesEndsTheWaitAtOnce) {
    port.goneAt = clock.now() + 3ms;
    const auto start = clock.now();
    const auto result = send(0x10);
    EXPECT_EQ(result.lastRead, -1);
    EXPECT_EQ(clock.now() - start, 3ms);
    EXPECT_EQ(send(0x10).written, -1);
}

TEST_F(ExchangeTest, DuplicatedAnswersAreNotTakenForTheNextCommand) {
    port.onRequest = [](FakeReportPort& p, const Report& request) {
        p.deliver(*configAnswer(request), 1ms);
        p.deliver(*configAnswer(request), 2ms);
    };
    EXPECT_TRUE(send(0x10).answered);
    clock.advance(5ms);
    const auto second = send(0x11);
    EXPECT_TRUE(second.answered);
    EXPECT_EQ(answer[1], 0x11);
}

// The joystick stream's listener hears every report the exchanges read, the stale ones read
// away included, each at the time its read returned; a registration ends with its scope.
TEST_F(ExchangeTest, EveryReportReadReachesTheListenerWithItsArrival) {
    struct Heard final : ReportListener {
        std::vector<std::pair<Report, Clock::time_point>> reports;
        void reportArrived(std::span<const uint8_t> r, Clock::time_point at) override {
            reports.emplace_back(Report(r.begin(), r.end()), at);
        }
    } heard;
    port.stream(Report{0x01, 0x80}, 10ms);
    port.onRequest = test::answerAfter(25ms, configAnswer);
    const auto start = clock.now();
    {
        ListenerRegistration registration(port, heard);
        clock.advance(35ms); // three joystick reports wait in the queue
        send(0x10);
        send(0x11);
    }
    clock.advance(100ms);
    send(0x12);
    EXPECT_EQ(port.listener(), nullptr);

    int joystick = 0;
    int answers = 0;
    for (const auto& [report, at] : heard.reports) {
        ASSERT_EQ(report.size(), 18u);
        joystick += report[0] == 0x01;
        answers += report[0] == 0xF9;
    }
    EXPECT_EQ(answers, 2);
    // 35 ms idle, then two exchanges of 25 ms each: a report every 10 ms, none lost.
    EXPECT_EQ(joystick, 8);
    EXPECT_EQ(heard.reports.front().second, start + 35ms) << "read away when the exchange began";
    EXPECT_EQ(heard.reports.back().second, start + 85ms) << "the second answer as it came";
    EXPECT_TRUE(std::ranges::is_sorted(heard.reports, {}, [](const auto& r) { return r.second; }));
}

} // namespace
} // namespace orvane::report
