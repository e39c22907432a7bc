// What the scope computes from a stretch of timed samples.
#ifndef ORVANE_SIGNAL_CORE_FIGURES_H
#define ORVANE_SIGNAL_CORE_FIGURES_H

#include "signal/core/sample.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orvane::signal {

// The intervals between consecutive reports. On Linux a 10 ms endpoint is polled every
// 8 ms, so a mix of 8 and 16 ms intervals is normal.
struct IntervalFigures {
    static constexpr int kBins = 41; // 1 ms wide: [0,1), [1,2), ... [39,40), and 40 ms on
    static constexpr double kBinMs = 1.0;
    long count = 0; // intervals seen (reports - 1)
    double minMs = 0;
    double medianMs = 0;
    double maxMs = 0;
    std::array<long, kBins> histogram{};
};

// An interval of at least three nominal periods: reports that never came.
struct Dropout {
    TimePoint at{};      // arrival of the last report before the gap
    double lengthMs = 0; // the whole interval, from that report to the next
    long missing = 0;    // reports the nominal period would have brought in between
};

struct AxisFigures {
    uint16_t current = 0;
    uint16_t min = 0;
    uint16_t max = 0;
    double mean = 0;
    double std = 0; // population standard deviation
    // The largest max - min within any one second: jitter while the sticks rest.
    uint16_t ptp1s = 0;
};

struct ButtonFigures {
    bool pressed = false; // state in the newest sample
    long changes = 0;     // presses and releases
};

struct Figures {
    long reports = 0;
    double seconds = 0; // from the first report to the last
    double rateHz = 0;  // intervals per second over that time (0 with fewer than 2 reports)
    IntervalFigures intervals;
    long dropouts = 0;
    std::vector<Dropout> dropoutList; // the newest ones (a bounded number), oldest first
    // Reports whose state repeats the previous report's: a transmitter frame of 20-22.5 ms
    // is seen twice in 10 ms reports. Information, not a fault.
    long repeats = 0;
    double repeatShare = 0; // repeats / (reports - 1)
    std::array<AxisFigures, kAxes> axes{};
    std::array<ButtonFigures, kButtons> buttons{};
};

} // namespace orvane::signal

#endif
