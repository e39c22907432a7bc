#include "sysfs_listing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

// A sysfs tree as the kernel lays it out: /sys/class/hidraw/<node> -> the HID device's
// hidraw folder, whose device link leads to the HID device below its USB device.
class FakeSysfs {
public:
    FakeSysfs() {
        std::string pattern = (fs::temp_directory_path() / "orvane-sysfs-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::create_directories(root_ / "class/hidraw");
    }
    ~FakeSysfs() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    // A HID device on USB: its strings in the USB device's folder, each when given. port
    // names the USB device's folder (by default the node's name).
    void usbNode(const std::string& node, const std::string& hidId, const char* product,
                 const char* manufacturer, const char* serial, std::string port = {}) {
        const fs::path usb = root_ / "devices/usb1" / (port.empty() ? node : port);
        const fs::path hid = usb / "1-1:1.0/0003:X.0001";
        fs::create_directories(hid);
        write(usb / "idVendor", "537f\n");
        if (product) write(usb / "product", std::string(product) + "\n");
        if (manufacturer) write(usb / "manufacturer", std::string(manufacturer) + "\n");
        if (serial) write(usb / "serial", std::string(serial) + "\n");
        write(hid / "uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=ignored\n");
        link(node, hid);
    }
    // A HID device on another bus: its name and unique id from its uevent.
    void otherNode(const std::string& node, const std::string& uevent) {
        const fs::path hid = root_ / "devices/bt" / node;
        fs::create_directories(hid);
        write(hid / "uevent", uevent);
        link(node, hid);
    }
    // A node whose device is leaving: the link stays, the files are gone.
    void leavingNode(const std::string& node) {
        const fs::path hid = root_ / "devices/gone" / node;
        fs::create_directories(hid);
        link(node, hid);
    }
    fs::path classRoot() const { return root_ / "class/hidraw"; }

private:
    static void write(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    void link(const std::string& node, const fs::path& hid) {
        fs::create_directories(hid / "hidraw" / node);
        fs::create_directory_symlink(hid, hid / "hidraw" / node / "device");
        fs::create_directory_symlink(hid / "hidraw" / node, classRoot() / node);
    }
    fs::path root_;
};

TEST(SysfsListing, UsbStringsIdsAndSystemPathOrder) {
    FakeSysfs sys;
    // Ordered by where the devices sit, not by the numbers the nodes happened to get.
    sys.usbNode("hidraw2", "0003:00005381:0000640B", "Boot", "M\xC3\xBCller", nullptr, "1-2");
    sys.usbNode("hidraw10", "0003:0000537F:00006425", "ZT2960", "Tavrel", "EMU0", "1-1");
    const auto devices = listHidrawNodes(sys.classRoot(), 20);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].path, "/dev/hidraw10");
    EXPECT_EQ(devices[0].product, u"ZT2960");
    EXPECT_EQ(devices[0].serialNumber, u"EMU0");
    EXPECT_EQ(devices[1].path, "/dev/hidraw2");
    EXPECT_EQ(devices[1].vendorId, 0x5381);
    EXPECT_EQ(devices[1].productId, 0x640B);
    EXPECT_EQ(devices[1].manufacturer, u"M\u00FCller");
    EXPECT_FALSE(devices[1].serialNumber.has_value());
    EXPECT_EQ(listHidrawNodes(sys.classRoot(), 1).size(), 1u);
}

TEST(SysfsListing, VirtualDevicesAreLeftOutAndDoNotUseUpTheLimit) {
    FakeSysfs sys;
    sys.otherNode("hidraw0", "HID_ID=0006:00001234:00000001\nHID_NAME=virtual pad\n");
    sys.otherNode("hidraw1", "HID_ID=0018:000006CB:00000002\nHID_NAME=Touchpad\n");
    sys.otherNode("hidraw2", "HID_ID=001C:0000045E:00000003\nHID_NAME=Keyboard\n");
    sys.otherNode("hidraw3", "HID_ID=0006:00001234:00000004\nHID_NAME=virtual key\n");
    sys.usbNode("hidraw4", "0003:0000537F:00006425", "ZT2960", "Tavrel", "S");
    const auto devices = listHidrawNodes(sys.classRoot(), 2);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].product, u"Touchpad"); // devices/bt sorts before devices/usb1
    EXPECT_EQ(devices[1].product, u"Keyboard");
    const auto all = listHidrawNodes(sys.classRoot(), 20);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2].productId, 0x6425);
}

TEST(SysfsListing, LeavingNodesAndMalformedIdsAreLeftOutOtherBusesUseTheirUevent) {
    FakeSysfs sys;
    sys.leavingNode("hidraw0");
    sys.otherNode("hidraw1", "HID_ID=0005:0000046D:0000B012\nHID_NAME=Pad\nHID_UNIQ=aa:bb\n");
    sys.otherNode("hidraw3", "HID_ID=0003:zz:0001\n");
    sys.usbNode("hidraw4", "0003:0000537F:00006425", nullptr, "Tavrel", "S");
    const auto devices = listHidrawNodes(sys.classRoot(), 20);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].path, "/dev/hidraw1");
    EXPECT_EQ(devices[0].product, u"Pad");
    EXPECT_EQ(devices[0].serialNumber, u"aa:bb");
    EXPECT_FALSE(devices[0].manufacturer.has_value());
    EXPECT_EQ(devices[1].path, "/dev/hidraw4");
    EXPECT_FALSE(devices[1].product.has_value()); // no product string: the caller skips it
    EXPECT_TRUE(listHidrawNodes(sys.classRoot() / "absent", 20).empty());
}

TEST(SysfsListing, Utf8Decoding) {
    EXPECT_EQ(utf8ToUtf16("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"A\u00E9\u20AC\U0001F600");
    // Cut, stray and surrogate sequences each become one replacement character.
    EXPECT_EQ(utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\x80"
                          "A"),
              u"\uFFFDA");
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
}

} // namespace
} // namespace tavrel
