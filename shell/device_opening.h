// Opening a device for a window: up to 5 passes of up to 10 attempts, stopping at the
// first success. Between passes the caller may rebuild the device list.
#ifndef ORVANE_SHELL_DEVICE_OPENING_H
#define ORVANE_SHELL_DEVICE_OPENING_H

#include <functional>

namespace orvane {

class Trap;

struct OpenRetries {
    int passes = 5;
    int attemptsPerPass = 10;
};

// attempt: one openDeviceAt, 1 = opened. afterFailedPass: runs after each pass that ended
// without success (may be empty). Each attempt is trapped; a failure of the library's
// binding (library or function missing) ends the attempts, since retrying cannot cure it.
bool openWithRetries(const Trap& trap, const std::function<int()>& attempt,
                     const std::function<void()>& afterFailedPass, OpenRetries retries = {});

} // namespace orvane

#endif
