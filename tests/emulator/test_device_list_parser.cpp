#include "emulator/bus.h"
#include "emulator/device_options.h"

#include <gtest/gtest.h>

namespace {

using emu::Kind;
using emu::parseDeviceList;

std::string errorOf(std::string_view text) {
    std::string error;
    EXPECT_FALSE(parseDeviceList(text, &error)) << text;
    return error;
}

TEST(DeviceListParser, KindsAloneTakeTheirDefaults) {
    const auto entries = parseDeviceList("interface,loader");
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ((*entries)[0].kind, Kind::Interface);
    EXPECT_EQ((*entries)[1].kind, Kind::Loader);
    EXPECT_FALSE((*entries)[0].vid);
    EXPECT_DOUBLE_EQ((*entries)[0].latencyMs, 1.0);
    EXPECT_FALSE((*entries)[1].locked);
}

TEST(DeviceListParser, ReadsEveryKey) {
    const auto entries = parseDeviceList(
        "interface:vid=0x1234:pid=4660:product=RC USB:manufacturer=Maker Ltd:serial=A-01:in=20:"
        "out=9:latency_ms=1.5:fw=2.10.300:locked=1");
    ASSERT_TRUE(entries);
    const emu::DeviceEntry& s = entries->front();
    EXPECT_EQ(s.vid, 0x1234);
    EXPECT_EQ(s.pid, 4660);
    EXPECT_EQ(s.product, u"RC USB");
    EXPECT_EQ(s.manufacturer, u"Maker Ltd");
    EXPECT_EQ(s.serial, u"A-01");
    EXPECT_EQ(s.inLen, 20);
    EXPECT_EQ(s.outLen, 9);
    EXPECT_DOUBLE_EQ(s.latencyMs, 1.5);
    ASSERT_TRUE(s.fw);
    EXPECT_EQ(s.fw->major, 2);
    EXPECT_EQ(s.fw->minor, 10);
    EXPECT_EQ(s.fw->revision, 300);
    EXPECT_TRUE(s.locked);
}

TEST(DeviceListParser, StringsAreUtf8AndKeepBlanks) {
    const auto entries = parseDeviceList("loader:product= Übertrager 1 :fw=1.7");
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->front().product, u" Übertrager 1 ");
    EXPECT_EQ(entries->front().fw->minor, 7);
    EXPECT_EQ(entries->front().fw->revision, 0);
}

TEST(DeviceListParser, EmptyTextListsNoDevice) {
    const auto entries = parseDeviceList("  ");
    ASSERT_TRUE(entries);
    EXPECT_TRUE(entries->empty());
}

TEST(DeviceListParser, ExtraKeysAreCheckedAndKept) {
    const auto entries =
        parseDeviceList("interface:channels=0/255/"
                        "10:silent=1:drop=3:unplug_after_ms=2.5:reboot_ms=0:joy_ms=0:queue=4");
    ASSERT_TRUE(entries);
    const emu::DeviceOptions o = emu::deviceOptions(entries->front());
    ASSERT_TRUE(o.channels);
    EXPECT_EQ((*o.channels)[0], 0);
    EXPECT_EQ((*o.channels)[1], 255);
    EXPECT_EQ((*o.channels)[2], 10);
    EXPECT_EQ((*o.channels)[3], 128); // channels not given stay centred
    EXPECT_TRUE(o.silent);
    EXPECT_EQ(o.drop, 3);
    EXPECT_DOUBLE_EQ(*o.unplugAfterMs, 2.5);
    EXPECT_DOUBLE_EQ(o.rebootMs, 0);
    EXPECT_DOUBLE_EQ(o.joystickMs, 0);
    EXPECT_EQ(o.queue, 4);
}

TEST(DeviceListParser, FaultKeysAndTheQueuePolicy) {
    const auto entries = parseDeviceList(
        "interface:loss=0.25:seed=7:late_ms=40:late_every=3:dup=4:write_fail=5:write_short=6:"
        "replug_after_ms=100:away_ms=20:drop_once=8,loader:os=windows,interface:os=windows:"
        "queue=9,loader");
    ASSERT_TRUE(entries);
    const emu::DeviceOptions o = emu::deviceOptions((*entries)[0]);
    EXPECT_DOUBLE_EQ(o.loss, 0.25);
    EXPECT_EQ(o.seed, 7u);
    EXPECT_DOUBLE_EQ(o.lateMs, 40);
    EXPECT_EQ(o.lateEvery, 3);
    EXPECT_EQ(o.duplicate, 4);
    EXPECT_EQ(o.writeFail, 5);
    EXPECT_EQ(o.writeShort, 6);
    EXPECT_EQ(o.dropOnce, 8);
    EXPECT_DOUBLE_EQ(*o.replugAfterMs, 100);
    EXPECT_DOUBLE_EQ(o.awayMs, 20);
    // The host's buffer: 63 reports kept on Linux, 32 with the oldest dropped on Windows.
    EXPECT_EQ(o.queuePolicy, emu::QueuePolicy::Linux);
    EXPECT_EQ(o.queue, 63);
    const emu::DeviceOptions windows = emu::deviceOptions((*entries)[1]);
    EXPECT_EQ(windows.queuePolicy, emu::QueuePolicy::Windows);
    EXPECT_EQ(windows.queue, 32);
    EXPECT_EQ(emu::deviceOptions((*entries)[2]).queue, 9);
    const emu::DeviceOptions plain = emu::deviceOptions((*entries)[3]);
    EXPECT_FALSE(plain.replugAfterMs);
    EXPECT_DOUBLE_EQ(plain.loss, 0);
    EXPECT_EQ(plain.writeFail, 0);
}

TEST(DeviceListParser, RefusesBadInputWithAMessage) {
    const char* bad[] = {
        "joystick",              // unknown kind
        "interface,,loader",     // empty entry
        "interface:vid",         // no '='
        "interface:vid=0x10000", // too large
        "interface:vid=12ab",    // not a number
        "interface:vid=0x",      // no digits
        "interface:pid=-1",
        "interface:in=0",
        "interface:out=5000",
        "interface:latency_ms=-1",
        "interface:latency_ms=fast",
        "interface:latency_ms=nan",
        "interface:fw=1",
        "interface:fw=1.2.3.4",
        "interface:fw=1.x.3",
        "interface:fw=256.0",
        "interface:locked=yes",
        "interface:vid=1:vid=2",         // twice
        "interface:colour=red",          // unknown key
        "interface:product=\xC3",        // cut UTF-8
        "interface:serial=\xED\xA0\x80", // encoded surrogate
        "interface:channels=1/2/3/4/5/6/7/8/9",
        "interface:channels=300",
        "interface:channels=",
        "interface:silent=2",
        "interface:drop=x",
        "interface:queue=0",
        "interface:joy_ms=0.5",
        "interface:loss=1.5",
        "interface:loss=-0.1",
        "interface:seed=4294967296",
        "interface:late_ms=soon",
        "interface:late_every=-1",
        "interface:dup=0.5",
        "interface:write_fail=x",
        "interface:write_short=",
        "interface:replug_after_ms=-5",
        "interface:away_ms=x",
        "interface:os=mac",
        "interface:replug_after_ms=10:500", // the away time has its own key
    };
    for (const char* text : bad) {
        const std::string error = errorOf(text);
        EXPECT_NE(error.find("TAVREL_EMULATOR"), std::string::npos) << text << ": " << error;
    }
    EXPECT_NE(errorOf("interface,loader:vid=x").find("device 2"), std::string::npos);
    EXPECT_NE(errorOf("interface:colour=red").find("colour"), std::string::npos);
}

TEST(DeviceListParser, BusListsDevicesWithDefaultsInListOrder) {
    const auto entries = parseDeviceList("loader,interface:serial=S9:product=RC USB");
    ASSERT_TRUE(entries);
    emu::Bus bus(*entries);
    const auto listed = bus.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].path, "emu:0");
    EXPECT_EQ(listed[0].vid, 0x5381);
    EXPECT_EQ(listed[0].pid, 0x640B);
    EXPECT_EQ(listed[0].product, u"Loader");
    EXPECT_EQ(listed[0].inLen, 22);
    EXPECT_EQ(listed[0].outLen, 22);
    EXPECT_EQ(listed[1].path, "emu:1");
    EXPECT_EQ(listed[1].vid, 0x537F);
    EXPECT_EQ(listed[1].pid, 0x6425);
    EXPECT_EQ(listed[1].product, u"RC USB");
    EXPECT_EQ(listed[1].manufacturer, u"Tavrel");
    EXPECT_EQ(listed[1].serial, u"S9");
    EXPECT_EQ(listed[1].inLen, 18);
    EXPECT_EQ(listed[1].outLen, 8);
    EXPECT_FALSE(listed[0].serial.empty());
}

} // namespace
