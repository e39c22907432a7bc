#include "signal/core/running_figures.h"

#include "signal/core/window_figures.h"

#include <algorithm>
#include <cmath>

namespace orvane::signal {

RunningFigures::RunningFigures(Duration nominalPeriod, double dropoutFactor,
                               std::size_t maxDropoutsListed)
    : detector_(nominalPeriod, dropoutFactor), maxDropoutsListed_(maxDropoutsListed),
      fine_(kFineBins, 0) {}

void RunningFigures::clear() {
    reports_ = 0;
    first_.reset();
    previous_.reset();
    base_ = Figures{};
    std::fill(fine_.begin(), fine_.end(), 0);
    fineAbove_ = 0;
    dropouts_.clear();
    detector_.clear();
    mean_.fill(0);
    m2_.fill(0);
    for (auto& p : ptp_)
        p.clear();
}

void RunningFigures::add(const Sample& s) {
    ++reports_;
    Figures& f = base_;
    for (int k = 0; k < kAxes; ++k) {
        const uint16_t v = s.axes[k];
        if (reports_ == 1) {
            f.axes[k].min = v;
            f.axes[k].max = v;
        }
        f.axes[k].min = std::min(f.axes[k].min, v);
        f.axes[k].max = std::max(f.axes[k].max, v);
        f.axes[k].current = v;
        const double delta = v - mean_[k];
        mean_[k] += delta / static_cast<double>(reports_);
        m2_[k] += delta * (v - mean_[k]);
        ptp_[k].add(s.time, v);
    }
    if (previous_) {
        const Sample& p = *previous_;
        const Duration gap = s.time - p.time;
        const double ms = toMs(gap);
        IntervalFigures& in = f.intervals;
        in.minMs = in.count == 0 ? ms : std::min(in.minMs, ms);
        in.maxMs = in.count == 0 ? ms : std::max(in.maxMs, ms);
        ++in.count;
        ++in.histogram[static_cast<std::size_t>(intervalBin(ms))];
        const double bin = std::floor(ms / kFineBinMs);
        if (bin >= 0 && bin < static_cast<double>(kFineBins))
            ++fine_[static_cast<std::size_t>(bin)];
        else
            ++fineAbove_;
        if (const auto d = detector_.interval(p.time, s.time)) {
            ++f.dropouts;
            dropouts_.push_back(*d);
            if (dropouts_.size() > maxDropoutsListed_) dropouts_.pop_front();
        }
        if (s.sameState(p)) ++f.repeats;
        for (int b = 0; b < kButtons; ++b)
            if (s.pressed(b) != p.pressed(b)) ++f.buttons[b].changes;
    } else {
        first_ = s;
    }
    for (int b = 0; b < kButtons; ++b)
        f.buttons[b].pressed = s.pressed(b);
    previous_ = s;
}

Figures RunningFigures::figures() const {
    Figures f = base_;
    f.reports = reports_;
    if (reports_ == 0) return f;
    f.seconds = toMs(previous_->time - first_->time) / 1000.0;
    for (int k = 0; k < kAxes; ++k) {
        f.axes[k].mean = mean_[k];
        f.axes[k].std = std::sqrt(m2_[k] / static_cast<double>(reports_));
        f.axes[k].ptp1s = ptp_[k].largest();
    }
    f.dropoutList.assign(dropouts_.begin(), dropouts_.end());
    if (const auto d = detector_.pending()) {
        ++f.dropouts;
        f.dropoutList.push_back(*d);
        if (f.dropoutList.size() > maxDropoutsListed_) f.dropoutList.erase(f.dropoutList.begin());
    }
    const long n = f.intervals.count;
    if (n > 0) {
        // The upper median, as the window's figures take it; the middle of its fine bin.
        const long rank = n / 2;
        long seen = 0;
        f.intervals.medianMs = f.intervals.maxMs;
        for (std::size_t i = 0; i < fine_.size(); ++i) {
            seen += fine_[i];
            if (seen > rank) {
                f.intervals.medianMs = (static_cast<double>(i) + 0.5) * kFineBinMs;
                break;
            }
        }
        f.intervals.medianMs =
            std::clamp(f.intervals.medianMs, f.intervals.minMs, f.intervals.maxMs);
        f.repeatShare = static_cast<double>(f.repeats) / static_cast<double>(n);
        if (f.seconds > 0) f.rateHz = static_cast<double>(n) / f.seconds;
    }
    return f;
}

} // namespace orvane::signal
