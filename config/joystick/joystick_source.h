// The operating system's joystick layer as the configuration dialog's monitor sees it: the
// attached joysticks in the order the system enumerates them, and the axes and buttons of
// one of them. The dialog and its tests never touch the layer underneath.
#ifndef ORVANE_CONFIG_JOYSTICK_JOYSTICK_SOURCE_H
#define ORVANE_CONFIG_JOYSTICK_JOYSTICK_SOURCE_H

#include <array>
#include <string>
#include <vector>

namespace orvane::joystick {

// Axes X, Y, Z, Rx, Ry, Rz, slider 0, slider 1 in 0..65535 (centre 32768); an axis the
// joystick does not have reads 0.
using JoystickAxes = std::array<double, 8>;
// Buttons 1..8; a button the joystick does not have reads off.
using JoystickButtons = std::array<bool, 8>;

struct JoystickEntry {
    int instance = -1;    // this attachment; a joystick plugged in again gets a new one
    std::string name;     // as the system reports it
    std::string identity; // the same each time the same kind of joystick is plugged in
};

class JoystickSource {
public:
    virtual ~JoystickSource() = default;

    // Prepares every attached joystick; false when the joystick layer itself is unusable.
    // No joystick at all is no failure.
    virtual bool initDirectInput() = 0;
    // Takes in joysticks plugged in or out since the last look; true when the list changed.
    virtual bool updateJoystickList() = 0;
    // The prepared joysticks; positions are those of the read functions.
    virtual const std::vector<JoystickEntry>& joysticks() const = 0;
    // The joystick at list position `position`. Any failure (no such position, joystick gone)
    // reads 0 and off.
    virtual JoystickAxes readJoystickAxes(int position) = 0;
    virtual JoystickButtons readJoystickButtons(int position) = 0;
    // Lets go of every joystick; init may be called again afterwards.
    virtual void releaseDirectInput() = 0;
};

} // namespace orvane::joystick

#endif
