// CCaldrix against a fake back end: listing, opening, closing and report transfer, with
// the faults a real bus shows (refused opens, unplugging, failing transfers).
#include <tavrel/CCaldrix.h>

#include "session.h"

#include <testhid/fail_device.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

using tavrel::Access;
using testhid::FailDevice;
using testhid::FakeBackend;
using testhid::makeDeviceInfo;

namespace {

constexpr uint32_t kAny = 0xFFFF;

class CaldrixTest : public ::testing::Test {
protected:
    CaldrixTest() : session(std::make_shared<tavrel::Session>(backend)) {}

    std::shared_ptr<FailDevice> addInterface(std::string path, uint16_t pid,
                                             std::u16string product = u"RC USB") {
        auto info = makeDeviceInfo(std::move(path), 0x537F, pid, std::move(product));
        info.manufacturer = u"Maker Ltd";
        info.serialNumber = u"A1B2C3D4E5F6G7H8I9J0K1";
        return backend->add(std::move(info));
    }

    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
    std::shared_ptr<tavrel::Session> session;
};

} // namespace

TEST_F(CaldrixTest, ListsShortenedStringsIdsAndLengths) {
    addInterface("a", 0x6425);
    auto noStrings = backend->add(makeDeviceInfo("b", 0x1234, 0x0001, u"Pad", 5, 0));
    CCaldrix caldrix(session);
    std::array<mdeviceList, 20> list{};
    ASSERT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, list.data(), 20), 2);

    EXPECT_STREQ(list[0].product, "RC");
    EXPECT_STREQ(list[0].manufacturer, "Maker");
    EXPECT_STREQ(list[0].serialNumber, "A1B2C3D4E5F6G7H8I9J"); // 19 characters at most
    EXPECT_EQ(list[0].vendorId, 0x537Fu);
    EXPECT_EQ(list[0].productId, 0x6425u);
    EXPECT_EQ(list[0].inputReportLength, 18u);
    EXPECT_EQ(list[0].outputReportLength, 8u);
    // A device without serial number and manufacturer lists them as empty texts.
    EXPECT_STREQ(list[1].product, "Pad");
    EXPECT_STREQ(list[1].manufacturer, "");
    EXPECT_STREQ(list[1].serialNumber, "");
    EXPECT_EQ(list[1].inputReportLength, 5u);
    EXPECT_EQ(list[1].outputReportLength, 0u);
}

TEST_F(CaldrixTest, ListingHonoursFiltersAndSkipsDevicesWithoutProductString) {
    addInterface("a", 0x6425);
    auto noProduct = makeDeviceInfo("b", 0x537F, 0x6425, u"");
    noProduct.product.reset();
    backend->add(noProduct);
    addInterface("c", 0x640B, u"Loader");
    CCaldrix caldrix(session);
    std::array<mdeviceList, 20> list{};

    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, list.data(), 20), 2);
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, "RC USB", list.data(), 20), 0);
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, "RC", list.data(), 20), 1);
    EXPECT_EQ(caldrix.GetList(0x537F, 0x640B, "Maker", nullptr, nullptr, list.data(), 20), 1);
    EXPECT_STREQ(list[0].product, "Loader");
    EXPECT_EQ(caldrix.GetList(kAny, kAny, "", nullptr, nullptr, list.data(), 20), 0);
}

TEST_F(CaldrixTest, ListingExaminesTwentyInterfacesAndStopsAtTheMaximumCount) {
    for (int i = 0; i < 30; ++i)
        addInterface("dev" + std::to_string(i), static_cast<uint16_t>(i));
    CCaldrix caldrix(session);
    std::array<mdeviceList, 30> list{};
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, list.data(), 30), 20);
    EXPECT_EQ(backend->lastLimit(), 20u);
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, list.data(), 3), 3);
    EXPECT_EQ(list[2].productId, 2u);
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, list.data(), 0), 0);
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, list.data(), -5), 0);
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, nullptr, 20), -1);
    // Device 25 lies beyond the listing's reach but Open still finds it.
    EXPECT_EQ(caldrix.Open(kAny, 25, nullptr, nullptr, nullptr, 1), 1);
    EXPECT_EQ(backend->lastLimit(), 127u);
}

TEST_F(CaldrixTest, FailedEnumerationListsAndOpensNothing) {
    addInterface("a", 0x6425);
    backend->failEnumeration(true);
    CCaldrix caldrix(session);
    std::array<mdeviceList, 20> list{};
    EXPECT_EQ(caldrix.GetList(kAny, kAny, nullptr, nullptr, nullptr, list.data(), 20), 0);
    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 0);
}

TEST_F(CaldrixTest, OpenTakesTheFirstMatchAndRecordsItsLengths) {
    auto first = addInterface("a", 0x6425);
    auto second = addInterface("b", 0x6425);
    CCaldrix caldrix(session);
    int32_t in = -1, out = -1;
    caldrix.GetReportLengths(&in, &out);
    EXPECT_EQ(in, 0);
    EXPECT_EQ(out, 0);

    ASSERT_EQ(caldrix.Open(0x537F, 0x6425, nullptr, nullptr, "RC", 1), 1);
    EXPECT_EQ(first->openHandles(), 2); // separate read and write handles
    EXPECT_EQ(second->openHandles(), 0);
    caldrix.GetReportLengths(&in, nullptr);
    EXPECT_EQ(in, 18);
    caldrix.GetReportLengths(nullptr, &out);
    EXPECT_EQ(out, 8);
    caldrix.GetReportLengths(nullptr, nullptr);

    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, "RC USB", 1), 0);
}

TEST_F(CaldrixTest, RefusedHandlesLeaveTheObjectClosed) {
    auto device = addInterface("a", 0x6425);
    CCaldrix caldrix(session);
    std::array<uint8_t, 64> report{};

    device->refuseOpen(Access::Read, true);
    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(device->openHandles(), 0);

    device->refuseOpen(Access::Read, false);
    device->refuseOpen(Access::Write, true);
    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(device->openHandles(), 0); // the read handle was closed again
    EXPECT_EQ(caldrix.Read(report.data()), -1);
    EXPECT_EQ(caldrix.Write(report.data()), -1);
}

// Why the last Open failed: the back end's reason, EIO when it cannot tell, ENODEV when no
// device passed the filters, 0 again after an Open that succeeded.
TEST_F(CaldrixTest, OpenErrorTellsWhyTheLastOpenFailed) {
    auto device = addInterface("a", 0x6425);
    CCaldrix caldrix(session);
    EXPECT_EQ(caldrix.GetOpenError(), 0);
    device->refuseOpen(Access::Write, true);
    backend->setOpenError(EACCES);
    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(caldrix.GetOpenError(), EACCES);
    backend->setOpenError(0);
    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(caldrix.GetOpenError(), EIO);
    EXPECT_EQ(caldrix.Open(0x1234, kAny, nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(caldrix.GetOpenError(), ENODEV);
    device->refuseOpen(Access::Write, false);
    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    EXPECT_EQ(caldrix.GetOpenError(), 0);
}

TEST_F(CaldrixTest, OpeningAgainReplacesHandlesInsteadOfLeakingThem) {
    auto device = addInterface("a", 0x6425);
    CCaldrix caldrix(session);
    ASSERT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    ASSERT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    EXPECT_EQ(device->handlesOpened(), 4);
    EXPECT_EQ(device->openHandles(), 2);
}

TEST_F(CaldrixTest, HalvesCloseIndependentlyAndTwiceIsHarmless) {
    auto device = addInterface("a", 0x6425);
    CCaldrix caldrix(session);
    ASSERT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 64> report{0xF9, 0x00, 0x08};

    caldrix.CloseRead();
    caldrix.CloseRead();
    EXPECT_EQ(device->openHandles(), 1);
    EXPECT_EQ(caldrix.Read(report.data()), -1);
    EXPECT_EQ(caldrix.Write(report.data()), 8); // the write half is still open

    caldrix.CloseWrite();
    caldrix.CloseWrite();
    EXPECT_EQ(device->openHandles(), 0);
    EXPECT_EQ(caldrix.Write(report.data()), -1);
}

TEST_F(CaldrixTest, CopiesShareHandlesAndCloseEachOnlyOnce) {
    auto device = addInterface("a", 0x6425);
    {
        CCaldrix original(session);
        ASSERT_EQ(original.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
        CCaldrix copy(session);
        copy = original;
        const CCaldrix& same = copy;
        copy = same; // self-assignment keeps the handles
        CCaldrix constructed(copy);

        original.CloseRead();
        original.CloseWrite();
        EXPECT_EQ(device->openHandles(), 2); // still held by the copies
        std::array<uint8_t, 64> report{0x01};
        device->queueInput({0x01, 0x7F});
        EXPECT_EQ(copy.Read(report.data()), 18);
        EXPECT_EQ(constructed.Write(report.data()), 8);
        int32_t in = 0;
        constructed.GetReportLengths(&in, nullptr);
        EXPECT_EQ(in, 18);
    }
    EXPECT_EQ(device->openHandles(), 0);
}

TEST_F(CaldrixTest, OverlappedReadReturnsZeroAtOnceAndLaterReportsStillArrive) {
    auto device = addInterface("a", 0x6425);
    CCaldrix caldrix(session);
    ASSERT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 18> report{};
    EXPECT_EQ(caldrix.Read(report.data()), 0);
    EXPECT_EQ(device->blockingReads(), 0);

    device->queueInput({0xF9, 0x00, 0x08, 0x15, 0xEE});
    report.fill(0xAA);
    ASSERT_EQ(caldrix.Read(report.data()), 18);
    EXPECT_EQ(report[0], 0xF9);
    EXPECT_EQ(report[4], 0xEE);
    // A short report comes back whole: the rest of the input length reads as zeros.
    for (std::size_t i = 5; i < report.size(); ++i)
        EXPECT_EQ(report[i], 0) << i;
    EXPECT_EQ(caldrix.Read(report.data()), 0);
    EXPECT_EQ(caldrix.Read(nullptr), -1);
}

TEST_F(CaldrixTest, LastOpenDecidesTheReadModeForBothObjects) {
    auto device = addInterface("a", 0x6425);
    auto other = addInterface("b", 0x640B, u"Loader");
    CCaldrix first(session);
    CCaldrix second(session);
    ASSERT_EQ(first.Open(kAny, 0x6425, nullptr, nullptr, nullptr, 1), 1);
    ASSERT_EQ(second.Open(kAny, 0x640B, nullptr, nullptr, nullptr, 0), 1);

    device->queueInput({0x01});
    std::array<uint8_t, 18> report{};
    EXPECT_EQ(first.Read(report.data()), 18);
    EXPECT_EQ(device->blockingReads(), 1);
    EXPECT_EQ(device->immediateReads(), 0);

    // Blocking mode has no "nothing there" result: the fake fails such a read.
    EXPECT_EQ(first.Read(report.data()), -1);

    ASSERT_EQ(second.Open(kAny, 0x640B, nullptr, nullptr, nullptr, 1), 1);
    EXPECT_EQ(first.Read(report.data()), 0);
    EXPECT_EQ(device->immediateReads(), 1);
    EXPECT_EQ(other->openHandles(), 2);
}

TEST_F(CaldrixTest, UnpluggedDeviceFailsReadAndWrite) {
    auto device = addInterface("a", 0x6425);
    CCaldrix caldrix(session);
    ASSERT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    device->queueInput({0x01});
    device->unplug();
    std::array<uint8_t, 18> report{0xF9};
    EXPECT_EQ(caldrix.Read(report.data()), -1);
    EXPECT_EQ(caldrix.Write(report.data()), -1);
    EXPECT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 0);
}

TEST_F(CaldrixTest, WriteSendsExactlyTheOutputReportLength) {
    auto device = addInterface("a", 0x6425);
    CCaldrix caldrix(session);
    ASSERT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 101> report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00, 0x55};
    ASSERT_EQ(caldrix.Write(report.data()), 8);
    ASSERT_EQ(device->written().size(), 1u);
    EXPECT_EQ(device->written()[0],
              (std::vector<uint8_t>{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00}));

    device->failWrites(true);
    EXPECT_EQ(caldrix.Write(report.data()), -1);
    device->failWrites(false);
    device->shortWrites(3);
    EXPECT_EQ(caldrix.Write(report.data()), 3);
    EXPECT_EQ(caldrix.Write(nullptr), -1);
}

TEST_F(CaldrixTest, ReadFailureAndDeviceWithoutReportsOfADirection) {
    auto device = addInterface("a", 0x6425);
    backend->add(makeDeviceInfo("b", 0x1111, 0x2222, u"Mouse", 4, 0));
    CCaldrix caldrix(session);
    std::array<uint8_t, 18> report{};
    ASSERT_EQ(caldrix.Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    device->failReads(true);
    device->queueInput({0x01});
    EXPECT_EQ(caldrix.Read(report.data()), -1);

    ASSERT_EQ(caldrix.Open(0x1111, kAny, nullptr, nullptr, nullptr, 1), 1);
    EXPECT_EQ(caldrix.Write(report.data()), -1); // no output report to send
}

TEST_F(CaldrixTest, LibVersion) {
    CCaldrix caldrix(session);
    std::array<char, 8> text{};
    text.fill('#');
    EXPECT_EQ(caldrix.GetLibVersion(text.data()), 0);
    EXPECT_STREQ(text.data(), "1.16");
    EXPECT_EQ(caldrix.GetLibVersion(nullptr), -1);
}
