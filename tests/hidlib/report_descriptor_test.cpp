#include "report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using tavrel::parseReportDescriptor;

namespace {

// A joystick with eight 16-bit axes and eight buttons in report 1 (17 bytes of data) and
// a vendor-defined configuration report 0xF9 with 7 bytes in each direction.
const std::vector<uint8_t> kJoystickWithConfiguration = {
    0x05, 0x01,                                     // Usage Page (Generic Desktop)
    0x09, 0x04,                                     // Usage (Joystick)
    0xA1, 0x01,                                     // Collection (Application)
    0x85, 0x01,                                     //   Report ID (1)
    0x09, 0x30, 0x09, 0x31, 0x09, 0x32, 0x09, 0x33, //   Usages X, Y, Z, Rx
    0x09, 0x34, 0x09, 0x35, 0x09, 0x36, 0x09, 0x36, //   Usages Ry, Rz, Slider, Slider
    0x16, 0x00, 0x00,                               //   Logical Minimum (0)
    0x26, 0xFF, 0x0F,                               //   Logical Maximum (4095)
    0x75, 0x10,                                     //   Report Size (16)
    0x95, 0x08,                                     //   Report Count (8)
    0x81, 0x02,                                     //   Input (Data, Var, Abs)
    0x05, 0x09,                                     //   Usage Page (Button)
    0x19, 0x01, 0x29, 0x08,                         // Usage Minimum (1), Usage Maximum (8)
    0x15, 0x00, 0x25, 0x01,                         // Logical Minimum (0), Logical Maximum (1)
    0x75, 0x01,                                     //   Report Size (1)
    0x95, 0x08,                                     //   Report Count (8)
    0x81, 0x02,                                     //   Input (Data, Var, Abs)
    0xC0,                                           // End Collection
    0x06, 0x00, 0xFF,                               // Usage Page (Vendor 0xFF00)
    0x09, 0x01,                                     // Usage (1)
    0xA1, 0x01,                                     // Collection (Application)
    0x85, 0xF9,                                     //   Report ID (0xF9)
    0x15, 0x00, 0x26, 0xFF, 0x00,                   // Logical Minimum (0), Logical Maximum (255)
    0x75, 0x08,                                     //   Report Size (8)
    0x95, 0x07,                                     //   Report Count (7)
    0x09, 0x01,                                     //   Usage (1)
    0x81, 0x02,                                     //   Input (Data, Var, Abs)
    0x09, 0x01,                                     //   Usage (1)
    0x91, 0x02,                                     //   Output (Data, Var, Abs)
    0xC0,                                           // End Collection
};

// A boot keyboard: no report ids, 8 input bytes, a 5-bit LED output padded to a byte.
const std::vector<uint8_t> kKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,             // Generic Desktop, Keyboard, Collection
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,             // modifier keys
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, //
    0x81, 0x02,                                     // Input: 8 modifier bits
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,             // Input: reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, //
    0x91, 0x02,                                                 // Output: 5 LED bits
    0x95, 0x01, 0x75, 0x03, 0x91, 0x01,                         // Output: 3 padding bits
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65,             //
    0x05, 0x07, 0x19, 0x00, 0x29, 0x65,                         //
    0x81, 0x00,                                                 // Input: 6 key bytes
    0xC0,
};

// A mouse: numbered input report 2 with 3 bytes, no output report at all.
const std::vector<uint8_t> kMouseWithoutOutput = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x02,             //
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, //
    0x95, 0x03, 0x75, 0x01, 0x81, 0x02,                         // 3 buttons
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01,                         // padding
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, //
    0x75, 0x08, 0x95, 0x02, 0x81, 0x06,                         // X, Y relative
    0xC0,
};

} // namespace

TEST(ReportDescriptor, NumberedReportsTakeTheLargestReportPlusTheIdByte) {
    const auto layout = parseReportDescriptor(kJoystickWithConfiguration);
    EXPECT_EQ(layout.inputReportLength, 18); // 17 data bytes of report 1, id
    EXPECT_EQ(layout.outputReportLength, 8); // 7 data bytes of report 0xF9, id
    EXPECT_EQ(layout.featureReportLength, 0);
    EXPECT_TRUE(layout.numberedReports);
}

TEST(ReportDescriptor, DevicesWithoutReportIdsStillCountOneIdByte) {
    const auto layout = parseReportDescriptor(kKeyboard);
    EXPECT_EQ(layout.inputReportLength, 9);
    EXPECT_EQ(layout.outputReportLength, 2);
    EXPECT_FALSE(layout.numberedReports);
}

TEST(ReportDescriptor, DirectionWithoutReportHasLengthZero) {
    const auto layout = parseReportDescriptor(kMouseWithoutOutput);
    EXPECT_EQ(layout.inputReportLength, 4);
    EXPECT_EQ(layout.outputReportLength, 0);
    EXPECT_TRUE(layout.numberedReports);
}

// Descriptors as devices of these kinds ship them, lengths worked out by hand.
TEST(ReportDescriptor, RealWorldDescriptors) {
    // Gamepad, no report ids: four 8-bit axes, twelve buttons, four bits of padding.
    const std::vector<uint8_t> gamepad = {
        0x05, 0x01, 0x09, 0x05, 0xA1, 0x01,                         // Gamepad collection
        0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x04,       //   8 bits x 4
        0x09, 0x30, 0x09, 0x31, 0x09, 0x32, 0x09, 0x35, 0x81, 0x02, //   X Y Z Rz: 32 bits
        0x05, 0x09, 0x19, 0x01, 0x29, 0x0C, 0x15, 0x00, 0x25, 0x01, //   buttons 1..12
        0x75, 0x01, 0x95, 0x0C, 0x81, 0x02,                         //   1 bit x 12
        0x75, 0x04, 0x95, 0x01, 0x81, 0x03,                         //   4 bits padding
        0xC0,
    };
    auto layout = parseReportDescriptor(gamepad);
    EXPECT_EQ(layout.inputReportLength, 7); // 48 bits = 6 bytes, id byte 0
    EXPECT_EQ(layout.outputReportLength, 0);
    EXPECT_EQ(layout.featureReportLength, 0);
    EXPECT_FALSE(layout.numberedReports);

    // Keyboard in report 1 (modifiers, reserved byte, six keys; five LEDs and padding out)
    // and a consumer control in report 2 (one 16-bit usage).
    const std::vector<uint8_t> keyboard = {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01,                         // report 1
        0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,             //   modifiers
        0x75, 0x01, 0x95, 0x08, 0x81, 0x02,                                     //   8 bits in
        0x95, 0x01, 0x75, 0x08, 0x81, 0x03,                                     //   reserved byte
        0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, // 5 LEDs
        0x95, 0x01, 0x75, 0x03, 0x91, 0x03,                                     //   3 bits out
        0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07,             //   six keys
        0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,                               //   48 bits in
        0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02,                         // report 2
        0x15, 0x00, 0x26, 0xFF, 0x03, 0x19, 0x00, 0x2A, 0xFF, 0x03,             //   usage 0..1023
        0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,                               //   16 bits in
    };
    layout = parseReportDescriptor(keyboard);
    EXPECT_EQ(layout.inputReportLength, 9);  // report 1: 8 bytes, id
    EXPECT_EQ(layout.outputReportLength, 2); // report 1: 1 byte of LEDs, id
    EXPECT_EQ(layout.featureReportLength, 0);
    EXPECT_TRUE(layout.numberedReports);

    // Vendor-defined device with 64-byte input, output and feature reports, no ids.
    const std::vector<uint8_t> vendor = {
        0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,                   // vendor page 0xFF00
        0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x40,       //   8 bits x 64
        0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, //   in, out
        0x95, 0x40, 0x09, 0x01, 0xB1, 0x02, 0xC0,                   //   feature
    };
    layout = parseReportDescriptor(vendor);
    EXPECT_EQ(layout.inputReportLength, 65);
    EXPECT_EQ(layout.outputReportLength, 65);
    EXPECT_EQ(layout.featureReportLength, 65);
    EXPECT_FALSE(layout.numberedReports);
}

TEST(ReportDescriptor, PushAndPopRestoreSizeCountAndId) {
    const std::vector<uint8_t> d = {
        0x85, 0x01, 0x75, 0x08, 0x95, 0x02, // report 1: 2 bytes
        0xA4,                               // Push
        0x85, 0x02, 0x95, 0x09, 0x81, 0x02, // report 2: 9 input bytes
        0xB4,                               // Pop: back to report 1, 2 x 8 bits
        0x81, 0x02, 0x91, 0x02,             // report 1: 2 input bytes, 2 output bytes
    };
    const auto layout = parseReportDescriptor(d);
    EXPECT_EQ(layout.inputReportLength, 10);
    EXPECT_EQ(layout.outputReportLength, 3);
}

TEST(ReportDescriptor, DamagedDescriptorsNeverOverrunOrOverflow) {
    EXPECT_EQ(parseReportDescriptor({}).inputReportLength, 0);
    // Truncated in the middle of an item: the input item before it still counts.
    const std::vector<uint8_t> truncated = {0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0x27, 0x01};
    EXPECT_EQ(parseReportDescriptor(truncated).inputReportLength, 5);
    // A long item whose length runs past the end.
    const std::vector<uint8_t> longItem = {0xFE, 0xFF, 0x00, 0x01};
    EXPECT_EQ(parseReportDescriptor(longItem).inputReportLength, 0);
    // Huge size and count: the length saturates instead of wrapping around.
    std::vector<uint8_t> huge = {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < 20; ++i)
        huge.insert(huge.end(), {0x81, 0x02});
    EXPECT_EQ(parseReportDescriptor(huge).inputReportLength, 0xFFFF);
    // Pops without pushes and endless pushes.
    std::vector<uint8_t> stack(1000, 0xB4);
    stack.insert(stack.end(), 1000, 0xA4);
    EXPECT_EQ(parseReportDescriptor(stack).inputReportLength, 0);
}

TEST(ReportDescriptor, SysfsPathOfAHidrawNode) {
    EXPECT_EQ(tavrel::reportDescriptorPath("/dev/hidraw3"),
              "/sys/class/hidraw/hidraw3/device/report_descriptor");
    EXPECT_EQ(tavrel::reportDescriptorPath("/dev/"), "");
    EXPECT_EQ(tavrel::reportDescriptorPath(".."), "");
    EXPECT_FALSE(tavrel::readReportLayout("/dev/hidraw-no-such-node").has_value());
}
