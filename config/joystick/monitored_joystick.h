// Which joystick the monitor follows while joysticks are plugged in and out: the chosen one
// keeps its line when others come and go; when it is unplugged nothing is monitored until
// the same kind of joystick comes back.
#ifndef ORVANE_CONFIG_JOYSTICK_MONITORED_JOYSTICK_H
#define ORVANE_CONFIG_JOYSTICK_MONITORED_JOYSTICK_H

#include <optional>
#include <string>
#include <vector>

#include "config/joystick/joystick_source.h"

namespace orvane::joystick {

class MonitoredJoystick {
public:
    // The line the user chose; a position outside the list changes nothing.
    void select(const std::vector<JoystickEntry>& list, int position);
    // The line to select in the changed list, -1 for none. Before anything was chosen the
    // first line is taken, as when the dialog opens.
    int follow(const std::vector<JoystickEntry>& list);

private:
    std::optional<int> instance_;
    std::string identity_;
};

} // namespace orvane::joystick

#endif
