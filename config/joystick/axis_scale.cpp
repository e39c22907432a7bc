#include "config/joystick/axis_scale.h"

#include <cmath>
#include <limits>

namespace orvane::joystick {

int16_t scaledAxisValue(double position) {
    constexpr double low = std::numeric_limits<int16_t>::min();
    constexpr double high = std::numeric_limits<int16_t>::max();
    const double q = position / 256.0;
    if (std::isnan(q)) return 0;
    if (q <= low) return std::numeric_limits<int16_t>::min();
    if (q >= high) return std::numeric_limits<int16_t>::max();
    double v = std::floor(q);
    const double rest = q - v;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(v, 2.0) != 0.0)) v += 1.0;
    return static_cast<int16_t>(v);
}

void AxisScale::take(int16_t v) {
    if (v > axisMax_) axisMax_ = v;
    if (v < axisMin_) axisMin_ = v;
}

double AxisScale::barFraction(int16_t v) const {
    // Computed wide: the range of two 16-bit values does not fit into 16 bits.
    const int span = int{axisMax_} - int{axisMin_} + 1;
    return static_cast<double>(int{v} - int{axisMin_}) / span;
}

} // namespace orvane::joystick
