// The clock seam: exchanges compute their deadlines through it, so that tests drive time
// themselves and never sleep.
#ifndef ORVANE_REPORT_CLOCK_H
#define ORVANE_REPORT_CLOCK_H

#include <chrono>

namespace orvane::report {

class Clock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual time_point now() const = 0;
};

class SteadyClock final : public Clock {
public:
    time_point now() const override { return std::chrono::steady_clock::now(); }
};

} // namespace orvane::report

#endif
