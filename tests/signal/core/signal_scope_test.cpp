// The signal scope on synthetic streams, where every figure is known.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "signal/core/signal_scope.h"

namespace orvane::signal {
namespace {

using namespace std::chrono_literals;

const TimePoint kT0{std::chrono::seconds(1000)};

Sample sampleAt(Duration since, uint16_t value, uint8_t buttons = 0) {
    Sample s;
    s.time = kT0 + since;
    s.axes.fill(value);
    s.buttons = buttons;
    return s;
}

// Reports every `period` for `count` reports; value(i) gives every axis of report i.
void feed(SignalScope& scope, int count, Duration period, const std::function<uint16_t(int)>& value,
          Duration offset = 0ms) {
    for (int i = 0; i < count; ++i)
        scope.add(sampleAt(offset + i * period, value(i)));
}

TEST(SignalSample, ParsesTheJoystickReportAndRefusesOthers) {
    std::vector<uint8_t> report(18, 0);
    report[0] = 0x01;
    report[1] = 0x34; // X = 0x1234, little-endian
    report[2] = 0x12;
    report[15] = 0xFF; // Di = 0xFFFF
    report[16] = 0xFF;
    report[17] = 0x81; // buttons 1 and 8
    const auto s = parseJoystickReport(report, kT0);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->axes[0], 0x1234);
    EXPECT_EQ(s->axes[7], 0xFFFF);
    EXPECT_TRUE(s->pressed(0));
    EXPECT_FALSE(s->pressed(1));
    EXPECT_TRUE(s->pressed(7));
    EXPECT_EQ(s->time, kT0);

    SignalScope scope;
    EXPECT_FALSE(scope.addReport(std::span(report).first(17), kT0)); // one byte short
    report[0] = 0xF9;                                                // an answer
    EXPECT_FALSE(scope.addReport(report, kT0));
    EXPECT_TRUE(scope.empty());
}

TEST(SignalIntervals, PollingMixesAreNoDropoutsAndGapsAreCountedWithTheirTimes) {
    SignalScope scope;
    // Linux polls a 10 ms endpoint every 8 ms: 8 and 16 ms intervals alternate.
    Duration t = 0ms;
    for (int i = 0; i < 100; ++i) {
        scope.add(sampleAt(t, 0));
        t += i % 2 ? 16ms : 8ms;
    }
    // Then a gap of 110 ms (ten reports missing), and one of 29 ms, just below three periods.
    const Duration gapStart = t - 16ms;
    t += 94ms;
    scope.add(sampleAt(t, 0));
    t += 29ms;
    scope.add(sampleAt(t, 0));

    for (const Figures& f : {scope.figures(), scope.totals()}) {
        EXPECT_EQ(f.reports, 102);
        EXPECT_EQ(f.dropouts, 1);
        ASSERT_EQ(f.dropoutList.size(), 1u);
        EXPECT_EQ(f.dropoutList[0].at, kT0 + gapStart);
        EXPECT_DOUBLE_EQ(f.dropoutList[0].lengthMs, 110.0);
        EXPECT_EQ(f.dropoutList[0].missing, 10);
        EXPECT_DOUBLE_EQ(f.intervals.minMs, 8.0);
        EXPECT_NEAR(f.intervals.medianMs, 16.0, 0.01);
        EXPECT_DOUBLE_EQ(f.intervals.maxMs, 110.0);
        EXPECT_EQ(f.intervals.histogram[8], 50);
        EXPECT_EQ(f.intervals.histogram[16], 49);
        EXPECT_EQ(f.intervals.histogram[29], 1);
        EXPECT_EQ(f.intervals.histogram[IntervalFigures::kBins - 1], 1);
        EXPECT_NEAR(f.rateHz, 101.0 / f.seconds, 1e-9);
    }
    // Exactly three periods is a dropout.
    scope.add(sampleAt(t + 30ms, 0));
    EXPECT_EQ(scope.totals().dropouts, 2);
}

TEST(SignalAxes, JitterShowsInPtpWhileASlowSweepDoesNot) {
    SignalScope scope;
    // A slow sweep of one count per report over three seconds.
    feed(scope, 300, 10ms, [](int i) { return static_cast<uint16_t>(1000 + i); });
    const Figures f = scope.figures();
    EXPECT_EQ(f.axes[0].min, 1000);
    EXPECT_EQ(f.axes[0].max, 1299);
    // Within one second: 101 reports, both ends included.
    EXPECT_EQ(f.axes[0].ptp1s, 100);
    EXPECT_EQ(scope.totals().axes[0].ptp1s, 100);

    SignalScope still;
    feed(still, 500, 10ms, [](int i) { return static_cast<uint16_t>(25700 + (i % 2) * 3); });
    for (const Figures& g : {still.figures(), still.totals()}) {
        EXPECT_EQ(g.axes[3].min, 25700);
        EXPECT_EQ(g.axes[3].max, 25703);
        EXPECT_EQ(g.axes[3].ptp1s, 3);
        EXPECT_DOUBLE_EQ(g.axes[3].mean, 25701.5);
        EXPECT_NEAR(g.axes[3].std, 1.5, 1e-9);
        EXPECT_EQ(g.axes[3].current, 25703);
    }
}

TEST(SignalRepeats, AFrameSeenTwiceIsARepeatAndButtonsCountTheirChanges) {
    SignalScope scope;
    // 20 ms frames in 10 ms reports: every second report repeats the one before. Button 1
    // follows the frame's value, button 2 stays pressed.
    for (int i = 0; i < 200; ++i) {
        const int frame = i / 2;
        const auto buttons = static_cast<uint8_t>((frame % 2) | 0x02);
        scope.add(sampleAt(i * 10ms, static_cast<uint16_t>(frame % 2 ? 500 : 400), buttons));
    }
    for (const Figures& f : {scope.figures(), scope.totals()}) {
        EXPECT_EQ(f.repeats, 100);
        EXPECT_NEAR(f.repeatShare, 100.0 / 199.0, 1e-12);
        EXPECT_EQ(f.buttons[0].changes, 99);
        EXPECT_TRUE(f.buttons[0].pressed);
        EXPECT_EQ(f.buttons[1].changes, 0);
        EXPECT_TRUE(f.buttons[1].pressed);
        EXPECT_EQ(f.dropouts, 0);
    }
}

TEST(SignalHistory, KeepsTheLastWindowInBoundedMemoryWhileTotalsCountEverything) {
    ScopeOptions options;
    options.window = 2s;
    options.maxSamples = 150;
    SignalScope scope(options);
    feed(scope, 1000, 10ms, [](int i) { return static_cast<uint16_t>(i); });
    // The ring's bound holds before the window's: 150 samples, the newest.
    EXPECT_EQ(scope.size(), 150u);
    EXPECT_EQ(scope.at(0).axes[0], 850);
    EXPECT_EQ(scope.newest().axes[0], 999);
    EXPECT_EQ(scope.figures().reports, 150);
    EXPECT_EQ(scope.figures().axes[0].min, 850);
    const Figures total = scope.totals();
    EXPECT_EQ(total.reports, 1000);
    EXPECT_EQ(total.axes[0].min, 0);
    EXPECT_DOUBLE_EQ(total.seconds, 9.99);

    // The window's bound: at 50 ms a report, 2 s hold 41 reports.
    SignalScope slow(options);
    feed(slow, 100, 50ms, [](int) { return uint16_t{7}; });
    EXPECT_EQ(slow.size(), 41u);

    // Ranges for the chart: both ends included, nothing outside the history.
    const auto [first, last] = scope.indicesBetween(kT0 + 9000ms, kT0 + 9100ms);
    EXPECT_EQ(last - first, 11u);
    EXPECT_EQ(scope.at(first).axes[0], 900);
    const auto some = scope.samplesBetween(kT0 + 9895ms, kT0 + 20s);
    ASSERT_EQ(some.size(), 10u);
    EXPECT_EQ(some.front().axes[0], 990);
    EXPECT_TRUE(scope.samplesBetween(kT0, kT0 + 1s).empty());
    EXPECT_TRUE(scope.samplesBetween(kT0 + 9500ms, kT0 + 9400ms).empty());
    EXPECT_EQ(scope.figuresBetween(kT0 + 9000ms, kT0 + 9100ms).reports, 11);

    scope.clear();
    EXPECT_TRUE(scope.empty());
    EXPECT_EQ(scope.totals().reports, 0);
    EXPECT_EQ(scope.figures().reports, 0);
    scope.add(sampleAt(0ms, 5));
    EXPECT_EQ(scope.totals().axes[0].min, 5);
    EXPECT_EQ(scope.totals().intervals.count, 0);
}

TEST(SignalHistory, AnOlderTimeIsTakenAtTheNewestSoTheHistoryStaysInOrder) {
    SignalScope scope;
    scope.add(sampleAt(100ms, 1));
    scope.add(sampleAt(50ms, 2)); // a clock that went back must not make a negative interval
    scope.add(sampleAt(110ms, 3));
    EXPECT_EQ(scope.at(1).time, kT0 + 100ms);
    const Figures f = scope.figures();
    EXPECT_DOUBLE_EQ(f.intervals.minMs, 0.0);
    EXPECT_DOUBLE_EQ(f.intervals.maxMs, 10.0);
}

} // namespace
} // namespace orvane::signal
