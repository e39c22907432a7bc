// The monitor's arithmetic: an axis position of 0..65535 shown as 0..256, and the common
// scale of all eight bars, the range of every value seen on any axis since the dialog
// opened.
#ifndef ORVANE_CONFIG_JOYSTICK_AXIS_SCALE_H
#define ORVANE_CONFIG_JOYSTICK_AXIS_SCALE_H

#include <cstdint>

namespace orvane::joystick {

// position / 256, halves to the even neighbour; clamped to the 16-bit range.
int16_t scaledAxisValue(double position);

class AxisScale {
public:
    // Widens the range by v.
    void take(int16_t v);
    // Share of the box width a bar for v fills: (v - axisMin) / (axisMax - axisMin + 1).
    double barFraction(int16_t v) const;

    int16_t axisMax() const { return axisMax_; }
    int16_t axisMin() const { return axisMin_; }

private:
    int16_t axisMax_ = 0;
    int16_t axisMin_ = 0;
};

} // namespace orvane::joystick

#endif
