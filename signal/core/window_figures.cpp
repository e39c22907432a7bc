#include "signal/core/window_figures.h"

#include "signal/core/dropout_detector.h"
#include "signal/core/peak_to_peak.h"
#include "signal/core/sample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvane::signal {

int intervalBin(double ms) {
    const int bin = static_cast<int>(std::floor(ms / IntervalFigures::kBinMs));
    return std::clamp(bin, 0, IntervalFigures::kBins - 1);
}

Figures windowFigures(const SampleRing& ring, std::size_t first, std::size_t last,
                      Duration nominalPeriod, double dropoutFactor) {
    Figures f;
    last = std::min(last, ring.size());
    if (first >= last) return f;
    f.reports = static_cast<long>(last - first);
    const Sample& a = ring.at(first);
    const Sample& z = ring.at(last - 1);
    f.seconds = toMs(z.time - a.time) / 1000.0;

    std::vector<double> intervals;
    intervals.reserve(last - first);
    std::array<double, kAxes> sum{};
    std::array<PeakToPeak, kAxes> ptp;
    DropoutDetector detector(nominalPeriod, dropoutFactor);
    auto note = [&f](const std::optional<Dropout>& d) {
        if (!d) return;
        ++f.dropouts;
        f.dropoutList.push_back(*d);
    };
    for (int k = 0; k < kAxes; ++k) {
        f.axes[k].min = a.axes[k];
        f.axes[k].max = a.axes[k];
    }
    for (std::size_t i = first; i < last; ++i) {
        const Sample& s = ring.at(i);
        for (int k = 0; k < kAxes; ++k) {
            f.axes[k].min = std::min(f.axes[k].min, s.axes[k]);
            f.axes[k].max = std::max(f.axes[k].max, s.axes[k]);
            sum[k] += s.axes[k];
            ptp[k].add(s.time, s.axes[k]);
        }
        if (i == first) continue;
        const Sample& p = ring.at(i - 1);
        const double ms = toMs(s.time - p.time);
        intervals.push_back(ms);
        ++f.intervals.histogram[static_cast<std::size_t>(intervalBin(ms))];
        note(detector.interval(p.time, s.time));
        if (s.sameState(p)) ++f.repeats;
        for (int b = 0; b < kButtons; ++b)
            if (s.pressed(b) != p.pressed(b)) ++f.buttons[b].changes;
    }
    note(detector.pending());
    const double n = static_cast<double>(f.reports);
    for (int k = 0; k < kAxes; ++k) {
        AxisFigures& ax = f.axes[k];
        ax.current = z.axes[k];
        ax.mean = sum[k] / n;
        double squares = 0;
        for (std::size_t i = first; i < last; ++i) {
            const double d = ring.at(i).axes[k] - ax.mean;
            squares += d * d;
        }
        ax.std = std::sqrt(squares / n);
        ax.ptp1s = ptp[k].largest();
    }
    for (int b = 0; b < kButtons; ++b)
        f.buttons[b].pressed = z.pressed(b);
    if (!intervals.empty()) {
        f.intervals.count = static_cast<long>(intervals.size());
        auto [lo, hi] = std::minmax_element(intervals.begin(), intervals.end());
        f.intervals.minMs = *lo;
        f.intervals.maxMs = *hi;
        auto mid = intervals.begin() + static_cast<std::ptrdiff_t>(intervals.size() / 2);
        std::nth_element(intervals.begin(), mid, intervals.end());
        f.intervals.medianMs = *mid;
        f.repeatShare = static_cast<double>(f.repeats) / static_cast<double>(intervals.size());
        if (f.seconds > 0) f.rateHz = static_cast<double>(intervals.size()) / f.seconds;
    }
    return f;
}

} // namespace orvane::signal
