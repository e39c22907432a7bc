#include "report_descriptor.h"

#include "emulator/interface_model.h"
#include "emulator/joystick.h"

#include <algorithm>
#include <initializer_list>

namespace emu::gadget {

namespace {

// Items used below: prefix byte (tag, type and size) followed by its data.
void add(std::vector<uint8_t>& d, std::initializer_list<uint8_t> bytes) {
    d.insert(d.end(), bytes);
}

// A report count above 255 needs the two-byte form.
void reportCount(std::vector<uint8_t>& d, int count) {
    if (count <= 0xFF)
        add(d, {0x95, static_cast<uint8_t>(count)});
    else
        add(d, {0x96, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)});
}

void joystickCollection(std::vector<uint8_t>& d) {
    add(d, {0x05, 0x01, 0x09, 0x04, 0xA1, 0x01}); // Generic Desktop, Joystick, Application
    add(d, {0x85, kJoystickReportId});
    // X, Y, Z, Rx, Ry, Rz, Slider, Dial: 16 bits each, 0..65535.
    add(d, {0x09, 0x30, 0x09, 0x31, 0x09, 0x32, 0x09, 0x33, 0x09, 0x34, 0x09, 0x35, 0x09, 0x36,
            0x09, 0x37});
    add(d, {0x15, 0x00, 0x27, 0xFF, 0xFF, 0x00, 0x00, 0x75, 0x10, 0x95, 0x08, 0x81, 0x02});
    // Buttons 1..8, one bit each.
    add(d, {0x05, 0x09, 0x19, 0x01, 0x29, 0x08, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08,
            0x81, 0x02});
    add(d, {0xC0});
}

void vendorCollection(std::vector<uint8_t>& d, int inLen, int outLen) {
    add(d, {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01}); // vendor page, Application
    add(d, {0x85, kConfigReportId, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08});
    add(d, {0x09, 0x01});
    reportCount(d, inLen - 1);
    add(d, {0x81, 0x02});
    add(d, {0x09, 0x02});
    reportCount(d, outLen - 1);
    add(d, {0x91, 0x02});
    add(d, {0xC0});
}

} // namespace

std::vector<uint8_t> reportDescriptor(Kind mode, int inLen, int outLen) {
    std::vector<uint8_t> d;
    if (mode == Kind::Interface) joystickCollection(d);
    vendorCollection(d, std::max(inLen, 2), std::max(outLen, 2));
    return d;
}

} // namespace emu::gadget
