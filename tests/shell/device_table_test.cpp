#include <gtest/gtest.h>

#include "device/known_devices.h"
#include "shell/device_table.h"
#include "shell/trap.h"
#include "ui/fake_tavrel_api.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

FakeDevice listedMouse() {
    return {0x1234, 0x0001, "Mouse", "Acme", "SN42", 5, 0, true, true};
}

FakeDevice unlistedInterface(int productId = 0x6425, int in = 18, int out = 8) {
    return {0x537F, productId, "ZT2960", "Tavrel", "EMU0", in, out, false, true};
}

class DeviceTableTest : public ::testing::Test {
protected:
    LogFixture fx;
    FakeTavrelApi api;
    DeviceTable table;
    int16_t rebuild() { return table.rebuild(api, Trap(fx.log)); }
};

TEST_F(DeviceTableTest, ListedDevicesKeepLibraryTextsAndSignedNumbers) {
    api.devices = {listedMouse()};
    ASSERT_EQ(rebuild(), 1);
    const DeviceRow& r = table.row(0);
    EXPECT_EQ(r.deviceName, "Mouse");
    EXPECT_EQ(r.manufacturer, "Acme");
    EXPECT_EQ(r.serialNumber, "SN42");
    EXPECT_EQ(r.vendorId, " 4660");
    EXPECT_EQ(r.productId, " 1");
    EXPECT_EQ(r.inputReportLen, " 5");
    EXPECT_EQ(r.outputReportLen, " 0");
    EXPECT_EQ(api.calls.front(), "SetInstance");
}

TEST_F(DeviceTableTest, KnownDeviceMissedByListingIsAddedPlain) {
    api.devices = {listedMouse(), unlistedInterface()};
    ASSERT_EQ(rebuild(), 2);
    const DeviceRow& r = table.row(1);
    EXPECT_EQ(r.deviceName, "ZT2960");
    EXPECT_EQ(r.manufacturer, "Tavrel");
    EXPECT_EQ(r.serialNumber, "");
    EXPECT_EQ(r.vendorId, "21375");
    EXPECT_EQ(r.productId, "25637");
    EXPECT_EQ(r.inputReportLen, "18");
    EXPECT_EQ(r.outputReportLen, "8");
    // Probed by ids alone, then closed again.
    const auto& probe = api.opens.back();
    EXPECT_FALSE(probe.manufacturer || probe.serialNumber || probe.product);
    EXPECT_EQ(api.count("CloseRead"), 1);
    EXPECT_EQ(api.count("CloseWrite"), 1);
    EXPECT_TRUE(fx.ui.messages.empty());
}

TEST_F(DeviceTableTest, KnownDeviceAlreadyListedIsNotAddedTwice) {
    FakeDevice listed = unlistedInterface();
    listed.listed = true;
    api.devices = {listed};
    ASSERT_EQ(rebuild(), 1);
    EXPECT_EQ(table.row(0).vendorId, " 21375");
    for (const auto& o : api.opens)
        EXPECT_FALSE(o.vendorId == 0x537F && o.productId == 0x6425);
}

TEST_F(DeviceTableTest, ShortInputReportNamesTheOlderInterface) {
    api.devices = {unlistedInterface(0x6407, 17, 8)};
    ASSERT_EQ(rebuild(), 1);
    EXPECT_EQ(table.row(0).deviceName, "RC_USB");
    EXPECT_EQ(table.row(0).inputReportLen, "17");

    api.devices = {unlistedInterface(0x6407, 18, 8)};
    ASSERT_EQ(rebuild(), 1);
    EXPECT_EQ(table.row(0).deviceName, "ZT2960");
}

TEST_F(DeviceTableTest, MissingReportLengthFunctionKeepsDefaultsSilently) {
    api.devices = {unlistedInterface(0x6407, 18, 8)};
    api.missingFunctions = {"GetReportLengths"};
    ASSERT_EQ(rebuild(), 1);
    EXPECT_EQ(table.row(0).inputReportLen, "10");
    EXPECT_EQ(table.row(0).outputReportLen, "8");
    EXPECT_EQ(table.row(0).deviceName, "RC_USB");
    EXPECT_TRUE(fx.ui.messages.empty());
}

TEST_F(DeviceTableTest, FullTableProbesNoKnownDevice) {
    for (int i = 0; i < 130; ++i)
        api.devices.push_back({0x1000, i, "Dev", "M", "", 8, 8, true, true});
    api.devices.push_back(unlistedInterface());
    ASSERT_EQ(rebuild(), 128);
    EXPECT_TRUE(api.opens.empty());
}

TEST_F(DeviceTableTest, KnownDevicesFillUpToSlot127Only) {
    for (int i = 0; i < 127; ++i)
        api.devices.push_back({0x1000, i, "Dev", "M", "", 8, 8, true, true});
    api.devices.push_back(unlistedInterface(0x6425));
    api.devices.push_back(unlistedInterface(0x6426));
    ASSERT_EQ(rebuild(), 128);
    EXPECT_EQ(table.row(127).productId, "25637");
    EXPECT_EQ(table.row(128).productId, "");
}

TEST_F(DeviceTableTest, UnopenableKnownDeviceIsNotListed) {
    FakeDevice locked = unlistedInterface();
    locked.openable = false;
    api.devices = {locked};
    EXPECT_EQ(rebuild(), 0);
}

TEST_F(DeviceTableTest, NegativeListingCountListsNothing) {
    api.getListResult = -1;
    api.devices = {unlistedInterface()};
    EXPECT_EQ(rebuild(), 1);
    EXPECT_EQ(table.row(0).deviceName, "ZT2960");
    EXPECT_TRUE(fx.ui.messages.empty());
}

TEST_F(DeviceTableTest, ListingAsksForAnyDeviceIntoBlankRecords) {
    rebuild();
    ASSERT_EQ(api.listCalls.size(), 1u);
    const GetListCall& call = api.listCalls[0];
    EXPECT_EQ(call.vendorId, 65535u);
    EXPECT_EQ(call.productId, 65535u);
    EXPECT_TRUE(call.filtersAbsent);
    EXPECT_EQ(call.maxCount, 128);
    EXPECT_TRUE(call.blankBuffers);
    EXPECT_EQ(api.calls.front(), "SetInstance");
}

// Probed in the table's order; a library without GetReportLengths leaves each row's
// default lengths.
TEST_F(DeviceTableTest, KnownDevicesAreProbedInOrderWithTheirDefaultLengths) {
    struct Row {
        int vendorId, productId;
        const char *in, *out, *name;
    };
    const std::vector<Row> rows{
        {21377, 25611, "22", "22", "Loader"}, {21375, 25605, "10", "8", "ZT0415"},
        {21375, 25606, "10", "8", "ZT0415"},  {21375, 25607, "10", "8", "RC_USB"},
        {21375, 25608, "10", "8", "RC_USB"},  {21375, 25637, "18", "8", "ZT2960"},
        {21375, 25638, "18", "8", "ZT2960"},  {1248, 2976, "10", "0", "RC USB"}};
    for (const Row& r : rows)
        api.devices.push_back({r.vendorId, r.productId, "x", "y", "z", 64, 64, false, true});
    api.missingFunctions = {"GetReportLengths"};
    ASSERT_EQ(rebuild(), 8);
    ASSERT_EQ(api.opens.size(), 8u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(api.opens[i].vendorId, static_cast<uint32_t>(rows[i].vendorId)) << i;
        EXPECT_EQ(api.opens[i].productId, static_cast<uint32_t>(rows[i].productId)) << i;
        const DeviceRow& slot = table.row(static_cast<int>(i));
        EXPECT_EQ(slot.vendorId, std::to_string(rows[i].vendorId)) << i;
        EXPECT_EQ(slot.productId, std::to_string(rows[i].productId)) << i;
        EXPECT_EQ(slot.inputReportLen, rows[i].in) << i;
        EXPECT_EQ(slot.outputReportLen, rows[i].out) << i;
        EXPECT_EQ(slot.deviceName, rows[i].name) << i;
        EXPECT_EQ(slot.manufacturer, "Tavrel") << i;
    }
    // Each probe closes its device, reading side first.
    std::vector<std::string> closes;
    for (const auto& c : api.calls)
        if (c.starts_with("Close")) closes.push_back(c);
    ASSERT_EQ(closes.size(), 16u);
    for (size_t i = 0; i < closes.size(); i += 2) {
        EXPECT_EQ(closes[i], "CloseRead");
        EXPECT_EQ(closes[i + 1], "CloseWrite");
    }
    EXPECT_TRUE(fx.ui.messages.empty());
}

TEST_F(DeviceTableTest, MissingLibraryIsReportedPerStatementAndListsNothing) {
    api.libraryMissing = true;
    EXPECT_EQ(rebuild(), 0);
    ASSERT_EQ(fx.ui.messages.size(), 3u); // SetInstance, GetList, the known-device probes
    for (const auto& m : fx.ui.messages)
        EXPECT_EQ(m.text, "Error 53, File not found: tavrel");
}

TEST_F(DeviceTableTest, MissingListFunctionStillProbesKnownDevices) {
    api.missingFunctions = {"GetList"};
    api.devices = {unlistedInterface()};
    EXPECT_EQ(rebuild(), 1);
    ASSERT_EQ(fx.messageTexts(),
              std::vector<std::string>{"Error 453, Can't find DLL entry point GetList in tavrel"});
}

TEST_F(DeviceTableTest, OpenDeviceAtUsesIdsForKnownAndTextsForOtherDevices) {
    FakeDevice listedKnown = unlistedInterface();
    listedKnown.listed = true;
    api.devices = {listedMouse(), listedKnown};
    ASSERT_EQ(rebuild(), 2);
    api.opens.clear();

    EXPECT_EQ(table.openDeviceAt(api, 0), 1);
    EXPECT_EQ(api.opens.back().vendorId, 0x1234u);
    EXPECT_EQ(api.opens.back().manufacturer, "Acme");
    EXPECT_EQ(api.opens.back().serialNumber, "SN42");
    EXPECT_EQ(api.opens.back().product, "Mouse");

    EXPECT_EQ(table.openDeviceAt(api, 1), 1);
    EXPECT_FALSE(api.opens.back().manufacturer || api.opens.back().product);

    EXPECT_THROW(table.openDeviceAt(api, 129), RuntimeFailure);
    EXPECT_THROW(table.openDeviceAt(api, -1), RuntimeFailure);
}

TEST_F(DeviceTableTest, TwoInterfacesOfOneKindEachOpenTheirOwnDevice) {
    FakeDevice first = unlistedInterface();
    first.listed = true;
    first.serialNumber = "AAA";
    FakeDevice second = first;
    second.serialNumber = "BBB";
    FakeDevice third = first; // no serial of its own: chosen by all its texts
    third.serialNumber = "BBB";
    third.product = "ZT2961";
    api.devices = {first, second, third};
    ASSERT_EQ(rebuild(), 3);

    EXPECT_EQ(table.openDeviceAt(api, 0), 1);
    EXPECT_EQ(api.openedIndex, 0u);
    EXPECT_EQ(api.opens.back().serialNumber, "AAA");
    EXPECT_FALSE(api.opens.back().manufacturer || api.opens.back().product);

    EXPECT_EQ(table.openDeviceAt(api, 1), 1);
    EXPECT_EQ(api.openedIndex, 1u);
    EXPECT_EQ(table.openDeviceAt(api, 2), 1);
    EXPECT_EQ(api.openedIndex, 2u);
    EXPECT_EQ(api.opens.back().product, "ZT2961");

    // Listed once again: its ids alone, whatever its strings have become.
    api.devices = {first};
    ASSERT_EQ(rebuild(), 1);
    api.devices[0].serialNumber = "CHANGED";
    EXPECT_EQ(table.openDeviceAt(api, 0), 1);
    EXPECT_FALSE(api.opens.back().serialNumber);
}

TEST_F(DeviceTableTest, WindowValuesAreParsedFromTheTableTexts) {
    api.devices = {listedMouse(), unlistedInterface()};
    ASSERT_EQ(rebuild(), 2);
    const DeviceValues listed = table.valuesAt(0);
    EXPECT_EQ(listed.vendorId, 0x1234);
    EXPECT_EQ(listed.productId, 1);
    EXPECT_EQ(listed.inputReportLen, 5);
    const DeviceValues known = table.valuesAt(1);
    EXPECT_EQ(known.vendorId, 21375);
    EXPECT_EQ(known.outputReportLen, 8);
    EXPECT_EQ(known.deviceName, "ZT2960");
    try {
        (void)table.valuesAt(200);
        FAIL();
    } catch (const RuntimeFailure& f) {
        EXPECT_EQ(f.number(), 9);
    }
}

TEST(TableNumbers, SignPositionAndParsing) {
    EXPECT_EQ(numberWithSign(21375), " 21375");
    EXPECT_EQ(numberWithSign(0), " 0");
    EXPECT_EQ(numberWithSign(-1), "-1");
    EXPECT_EQ(tableNumber(" 21375"), 21375);
    EXPECT_EQ(tableNumber("   7x"), 7);
    EXPECT_EQ(tableNumber("-1"), -1);
    EXPECT_EQ(tableNumber(""), 0);
    EXPECT_EQ(tableNumber("   "), 0);
    EXPECT_EQ(tableNumber("abc"), 0);
}

TEST(KnownDevices, NamesAndMembership) {
    EXPECT_EQ(productName(0x5381, 0x640B, 22), "Loader");
    EXPECT_EQ(productName(0x04E0, 0x0BA0, 10), "RC USB");
    EXPECT_EQ(productName(0x537F, 0x6405, 99), "ZT0415");
    EXPECT_EQ(productName(0x537F, 0x6406, 0), "ZT0415");
    EXPECT_EQ(productName(0x537F, 0x6408, 17), "RC_USB");
    EXPECT_EQ(productName(0x537F, 0x6408, 18), "ZT2960");
    EXPECT_EQ(productName(0x537F, 0x6426, 0), "ZT2960");
    EXPECT_EQ(productName(0x537F, 0x6400, 0), "Tavrel USB");
    EXPECT_EQ(productName(0x1234, 0x640B, 0), "Tavrel USB");
    for (const auto& d : knownDeviceTable)
        EXPECT_TRUE(isKnownDevice(d.vendorId, d.productId));
    EXPECT_FALSE(isKnownDevice(0x537F, 0x640B));
    EXPECT_FALSE(isKnownDevice(0x5381, 0x6425));
}

} // namespace
} // namespace orvane::test
