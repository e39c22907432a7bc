// Figures over a stretch of samples held in the history (exact median of the intervals).
#ifndef ORVANE_SIGNAL_CORE_WINDOW_FIGURES_H
#define ORVANE_SIGNAL_CORE_WINDOW_FIGURES_H

#include "signal/core/figures.h"
#include "signal/core/sample_ring.h"

#include <cstddef>

namespace orvane::signal {

// Samples [first, last) of the ring.
Figures windowFigures(const SampleRing& ring, std::size_t first, std::size_t last,
                      Duration nominalPeriod, double dropoutFactor);

// The dropout rule shared by both kinds of figures.
bool isDropout(Duration interval, Duration nominalPeriod, double dropoutFactor);
// The coarse histogram's bin for an interval.
int intervalBin(double ms);

} // namespace orvane::signal

#endif
