// The HID report descriptors the interface presents on USB, one per mode.
//
// Normal mode: a joystick (report 01: eight 16-bit axes X, Y, Z, Rx, Ry, Rz, Slider, Dial
// and eight buttons, 17 bytes) and a vendor collection with report F9 in both directions
// for the configuration protocol. Boot-loader mode: the vendor collection alone. The F9
// reports are sized from the device's report lengths, so with the defaults the host sees
// 18/8 bytes in normal mode and 22/22 in the boot loader (report id included).
#ifndef EMULATOR_GADGET_REPORT_DESCRIPTOR_H
#define EMULATOR_GADGET_REPORT_DESCRIPTOR_H

#include "emulator/bus.h"

#include <cstdint>
#include <vector>

namespace emu::gadget {

// inLen, outLen: the longest input and output report, report id included.
std::vector<uint8_t> reportDescriptor(Kind mode, int inLen, int outLen);

} // namespace emu::gadget

#endif
