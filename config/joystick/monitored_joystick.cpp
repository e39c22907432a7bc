#include "config/joystick/monitored_joystick.h"

#include <algorithm>

namespace orvane::joystick {

void MonitoredJoystick::select(const std::vector<JoystickEntry>& list, int position) {
    if (position < 0 || position >= static_cast<int>(list.size())) return;
    const JoystickEntry& entry = list[static_cast<std::size_t>(position)];
    instance_ = entry.instance;
    identity_ = entry.identity;
}

int MonitoredJoystick::follow(const std::vector<JoystickEntry>& list) {
    const auto positionOf = [&](auto matches) {
        const auto it = std::find_if(list.begin(), list.end(), matches);
        return it == list.end() ? -1 : static_cast<int>(it - list.begin());
    };
    if (instance_) {
        const int same =
            positionOf([&](const JoystickEntry& e) { return e.instance == *instance_; });
        if (same >= 0) return same;
        const int back =
            positionOf([&](const JoystickEntry& e) { return e.identity == identity_; });
        if (back >= 0) select(list, back);
        return back;
    }
    if (list.empty()) return -1;
    select(list, 0);
    return 0;
}

} // namespace orvane::joystick
