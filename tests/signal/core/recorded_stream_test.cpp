// A stream recorded from the emulated interface through libtavrel (orvane-cli monitor
// --csv) with a known signal: fixed channels, per-axis noise, 22.5 ms transmitter frames
// and a 100 ms gap every second. Its figures must come out as the signal was made.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "signal/core/signal_scope.h"

namespace orvane::signal {
namespace {

std::vector<Sample> readCsv(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line); // the header
    std::vector<Sample> samples;
    const TimePoint start{std::chrono::hours(1)};
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, ',');
        Sample s;
        s.time = start + std::chrono::duration_cast<Duration>(
                             std::chrono::duration<double, std::milli>(std::stod(field)));
        for (auto& axis : s.axes) {
            std::getline(fields, field, ',');
            axis = static_cast<uint16_t>(std::stoul(field));
        }
        for (int b = 0; b < kButtons; ++b) {
            std::getline(fields, field, ',');
            if (field == "1") s.buttons = static_cast<uint8_t>(s.buttons | (1u << b));
        }
        samples.push_back(s);
    }
    return samples;
}

TEST(SignalRecorded, EmulatedNoiseFramesAndGapsGiveTheirKnownFigures) {
    const auto samples = readCsv(std::string(SIGNAL_DATA) + "/emulator_noise_gaps.csv");
    ASSERT_EQ(samples.size(), 319u);
    SignalScope scope;
    for (const Sample& s : samples)
        scope.add(s);

    // Channels 100 (25700 counts), Sl on 200 (51400), Di on 255 (65535, so its noise goes
    // down); noise 3/0/5/7/1/2/1000/10.
    const std::array<uint16_t, kAxes> base{25700, 25700, 25700, 25700, 25700, 25700, 51400, 65525};
    const std::array<uint16_t, kAxes> noise{3, 0, 5, 7, 1, 2, 1000, 10};
    for (const Figures& f : {scope.figures(), scope.totals()}) {
        EXPECT_EQ(f.reports, 319);
        EXPECT_EQ(f.dropouts, 3);
        for (const Dropout& d : f.dropoutList) {
            EXPECT_GE(d.lengthMs, 100.0);
            EXPECT_EQ(d.missing, 10);
        }
        for (std::size_t k = 0; k < kAxes; ++k) {
            EXPECT_EQ(f.axes[k].min, base[k]) << "axis " << k + 1;
            EXPECT_EQ(f.axes[k].max, base[k] + noise[k]) << "axis " << k + 1;
            EXPECT_EQ(f.axes[k].ptp1s, noise[k]) << "axis " << k + 1;
            EXPECT_NEAR(f.axes[k].std, noise[k] / 2.0, noise[k] * 0.02 + 1e-9);
        }
        // 10 ms reports of 22.5 ms frames: 1 - 10 / 22.5 of them repeat the one before.
        EXPECT_NEAR(f.repeatShare, 0.556, 0.03);
        EXPECT_NEAR(f.intervals.medianMs, 10.0, 0.5);
        EXPECT_NEAR(f.rateHz, 100.0 * (1.0 - 0.1), 3.0); // a tenth of each second is gap
    }
}

} // namespace
} // namespace orvane::signal
