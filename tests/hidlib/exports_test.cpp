// The plain functions and their binding to the library's two objects, over a fake back end.
#include <tavrel/tavrel.h>

#include "session.h"

#include <testhid/fail_device.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

using testhid::FakeBackend;
using testhid::makeDeviceInfo;

namespace {

constexpr uint32_t kAny = 0xFFFF;

// Caller-side records with their own text buffers, as the program keeps them.
struct CallerList {
    explicit CallerList(std::size_t n) : products(n), makers(n), serials(n), entries(n) {
        for (std::size_t i = 0; i < n; ++i) {
            products[i].fill('#');
            makers[i].fill('#');
            serials[i].fill('#');
            entries[i] = DeviceListEntry{
                products[i].data(), makers[i].data(), serials[i].data(), -7, -7, -7, -7};
        }
    }
    std::vector<std::array<char, 50>> products;
    std::vector<std::array<char, 50>> makers;
    std::vector<std::array<char, 20>> serials;
    std::vector<DeviceListEntry> entries;
};

class ExportsTest : public ::testing::Test {
protected:
    void SetUp() override { tavrel::Session::library()->useBackend(backend); }
    void TearDown() override {
        for (int32_t instance : {1, 0}) {
            SetInstance(instance);
            CloseRead();
            CloseWrite();
        }
    }
    void addDevices(int n) {
        for (int i = 0; i < n; ++i) {
            auto info = makeDeviceInfo("d" + std::to_string(i), 0x537F,
                                       static_cast<uint16_t>(0x6400 + i), u"RC USB");
            info.serialNumber = u"S" + std::u16string(1, static_cast<char16_t>(u'A' + i));
            backend->add(std::move(info));
        }
    }
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
};

} // namespace

TEST_F(ExportsTest, SetInstanceAcceptsOnlyZeroAndOne) {
    EXPECT_EQ(SetInstance(1), 1);
    EXPECT_EQ(SetInstance(2), -1);
    EXPECT_EQ(SetInstance(-1), -1);
    EXPECT_EQ(SetInstance(INT32_MIN), -1);
    // Still instance 1: open it, then instance 0 is still closed.
    addDevices(1);
    ASSERT_EQ(Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 18> report{};
    EXPECT_EQ(Read(report.data()), 0);
    EXPECT_EQ(SetInstance(0), 0);
    EXPECT_EQ(Read(report.data()), -1);
    int32_t in = -1;
    GetReportLengths(&in, nullptr);
    EXPECT_EQ(in, 0);
}

TEST_F(ExportsTest, GetListFillsTheCallersBuffersAndNeverMoreThanTwenty) {
    addDevices(25);
    CallerList caller(25);
    EXPECT_EQ(GetList(kAny, kAny, nullptr, nullptr, nullptr, caller.entries.data(), 1000), 20);
    EXPECT_STREQ(caller.products[0].data(), "RC");
    EXPECT_STREQ(caller.makers[0].data(), "");
    EXPECT_STREQ(caller.serials[3].data(), "SD");
    EXPECT_EQ(caller.entries[19].productId, 0x6400 + 19);
    EXPECT_EQ(caller.entries[19].inputReportLength, 18);
    EXPECT_EQ(caller.entries[19].outputReportLength, 8);
    EXPECT_EQ(caller.entries[20].vendorId, -7); // untouched
    EXPECT_EQ(caller.products[20][0], '#');

    EXPECT_EQ(GetList(kAny, kAny, nullptr, nullptr, nullptr, caller.entries.data(), 2), 2);
    EXPECT_EQ(GetList(kAny, kAny, nullptr, nullptr, nullptr, caller.entries.data(), 0), 0);
    EXPECT_EQ(GetList(kAny, kAny, nullptr, nullptr, nullptr, caller.entries.data(), -1), 0);
    EXPECT_EQ(GetList(kAny, kAny, nullptr, nullptr, nullptr, nullptr, 20), -1);
    EXPECT_EQ(GetList(0xFFFFFFFF, 0xFFFFFFFF, nullptr, "SB", "RC", caller.entries.data(), 20), 1);
    EXPECT_EQ(caller.entries[0].productId, 0x6401);
}

TEST_F(ExportsTest, GetListSkipsTextBuffersTheCallerLeftOut) {
    addDevices(1);
    DeviceListEntry entry{nullptr, nullptr, nullptr, 0, 0, 0, 0};
    EXPECT_EQ(GetList(kAny, kAny, nullptr, nullptr, nullptr, &entry, 1), 1);
    EXPECT_EQ(entry.vendorId, 0x537F);
    EXPECT_EQ(entry.inputReportLength, 18);
}

TEST_F(ExportsTest, InstancesKeepTheirOwnDevices) {
    addDevices(2);
    ASSERT_EQ(SetInstance(0), 0);
    ASSERT_EQ(Open(kAny, 0x6400, nullptr, nullptr, nullptr, 1), 1);
    ASSERT_EQ(SetInstance(1), 1);
    ASSERT_EQ(Open(kAny, 0x6401, nullptr, nullptr, nullptr, 1), 1);
    CloseWrite();
    std::array<uint8_t, 8> report{0xF9};
    EXPECT_EQ(Write(report.data()), -1);
    SetInstance(0);
    EXPECT_EQ(Write(report.data()), 8);
}

TEST_F(ExportsTest, CallsOnAClosedObjectFailQuietly) {
    std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> report{};
    CloseRead();
    CloseWrite();
    EXPECT_EQ(Read(report.data()), -1);
    EXPECT_EQ(Write(report.data()), -1);
    EXPECT_EQ(Read(nullptr), -1);
    EXPECT_EQ(Write(nullptr), -1);
    GetReportLengths(nullptr, nullptr);
    EXPECT_EQ(Open(kAny, kAny, nullptr, nullptr, nullptr, 1), 0); // no devices at all
}

TEST_F(ExportsTest, VersionQueries) {
    std::array<char, 5> text{};
    EXPECT_EQ(GetLibVersion(text.data()), 0);
    EXPECT_STREQ(text.data(), "1.16");
    EXPECT_EQ(GetLibVersion(nullptr), -1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowVersion(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Library Version: 1.16\n");
}
