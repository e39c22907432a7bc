// Figures over every sample since the last clear, kept in bounded memory: counts, extremes
// and sums, a fine histogram of the intervals for their median, the newest dropouts.
#ifndef ORVANE_SIGNAL_CORE_RUNNING_FIGURES_H
#define ORVANE_SIGNAL_CORE_RUNNING_FIGURES_H

#include "signal/core/figures.h"
#include "signal/core/peak_to_peak.h"
#include "signal/core/sample.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace orvane::signal {

class RunningFigures {
public:
    RunningFigures(Duration nominalPeriod, double dropoutFactor, std::size_t maxDropoutsListed);

    void add(const Sample& s);
    void clear();
    Figures figures() const;

    // Fine bins for the median: 10 us wide up to 200 ms; longer intervals count above.
    static constexpr double kFineBinMs = 0.01;
    static constexpr std::size_t kFineBins = 20000;

private:
    Duration dropoutAt_;
    Duration nominalPeriod_;
    std::size_t maxDropoutsListed_;

    long reports_ = 0;
    std::optional<Sample> first_;
    std::optional<Sample> previous_;
    Figures base_; // counts, extremes and the coarse histogram as they stand
    std::vector<uint32_t> fine_;
    long fineAbove_ = 0;
    std::deque<Dropout> dropouts_;
    std::array<double, kAxes> mean_{};
    std::array<double, kAxes> m2_{}; // sum of squared deviations (Welford)
    std::array<PeakToPeak, kAxes> ptp_;
};

} // namespace orvane::signal

#endif
