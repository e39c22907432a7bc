// What a device model does with one output report.
#ifndef EMULATOR_REPLY_H
#define EMULATOR_REPLY_H

#include <cstdint>
#include <vector>

namespace emu {

struct Reply {
    std::vector<uint8_t> answer; // the input report to send; empty: none
    bool stateChanged = false;   // something worth keeping in the state file changed
    bool reboot = false;         // the device leaves the bus and restarts (mode from storage)
};

} // namespace emu

#endif
