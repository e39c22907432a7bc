// Serves one enumeration of the gadget: output reports read from /dev/hidgN go to the
// device model, and what the model sends (answers, the joystick stream) is written back
// to /dev/hidgN for the host to poll.
#ifndef EMULATOR_GADGET_HIDG_SESSION_H
#define EMULATOR_GADGET_HIDG_SESSION_H

#include "emulator/bus.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>

namespace emu::gadget {

enum class SessionEnd {
    DeviceLeft, // the model left the bus: a restart into the other mode or an unplug fault
    Stopped,    // stop was set
};

struct SessionCounters {
    std::FILE* trace = nullptr; // when set: every report but joystick reports, both ways
    long requests = 0;          // output reports passed to the model
    long answers = 0;           // reports other than joystick reports written to the host
    long joystickSent = 0;      // joystick reports written to the host
    long joystickSkipped = 0;   // joystick reports the host had not polled room for
    // Joystick reports sent 25 ms or more after the one before: the signal's own gaps and any
    // stall of the gadget or of the host's polling, as the wire saw them (a report skipped
    // because the host had not polled yet leaves 20 ms; a dropout is 30 ms or more).
    long joystickLate = 0;
    std::chrono::steady_clock::time_point lastJoystick{};
};

// fd: the open /dev/hidgN, non-blocking. onRequest is asked before each output report is
// passed on, with the number that report will have; when it says no, the report is not
// passed on and no further one is read (it sets stop to end the session).
SessionEnd serve(int fd, Port& port, std::atomic<bool>& stop,
                 const std::function<bool(long)>& onRequest, SessionCounters& counters);

} // namespace emu::gadget

#endif
