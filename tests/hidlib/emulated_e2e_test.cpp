// The real libtavrel.so, loaded by name, against emulated interfaces on the software bus.
#include "tavrel_library.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kAny = TAVREL_ANY_ID;
constexpr uint32_t kTestVendor = 0x1209;

// The interface and the boot loader with their own ids, then a renamed interface, a locked
// one, a slow one with a 30-character serial number and one that is pulled out 200 ms after
// the bus comes up, all with a test vendor id.
constexpr const char* kDevices =
    "interface,loader,"
    "interface:vid=0x1209:pid=1:product=RC USB:serial=E2E1,"
    "interface:vid=0x1209:pid=2:locked=1,"
    "interface:vid=0x1209:pid=3:latency_ms=30:serial=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123,"
    "interface:vid=0x1209:pid=4:unplug_after_ms=200";

TavrelLibrary* library = nullptr;

class EmulatedBus : public ::testing::Environment {
public:
    void SetUp() override {
        // Before the first call: that is when the library picks its back end.
        setenv("TAVREL_EMULATOR", kDevices, 1);
        unsetenv("TAVREL_EMULATOR_STATE");
        lib_ = std::make_unique<TavrelLibrary>();
        library = lib_.get();
    }
    void TearDown() override {
        library = nullptr;
        lib_.reset();
    }

private:
    std::unique_ptr<TavrelLibrary> lib_;
};

struct Listing {
    explicit Listing(std::size_t n = 20) : texts(n * 3), entries(n) {
        for (std::size_t i = 0; i < n; ++i)
            entries[i] = DeviceListEntry{
                texts[3 * i].data(), texts[3 * i + 1].data(), texts[3 * i + 2].data(), 0, 0, 0, 0};
    }
    std::vector<std::array<char, 50>> texts;
    std::vector<DeviceListEntry> entries;
};

class Emulated : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(library, nullptr);
        lib = library;
        lib->SetInstance(0);
    }
    void TearDown() override {
        lib->SetInstance(0);
        lib->CloseRead();
        lib->CloseWrite();
    }
    TavrelLibrary* lib = nullptr;
};

} // namespace

TEST_F(Emulated, ListsInterfaceAndLoaderWithTheirReportLengths) {
    Listing listing;
    // Six, or five once the unplugging device has left.
    ASSERT_GE(lib->GetList(kAny, kAny, nullptr, nullptr, nullptr, listing.entries.data(), 20), 5);
    const DeviceListEntry& interface = listing.entries[0];
    EXPECT_EQ(interface.vendorId, 0x537F);
    EXPECT_EQ(interface.productId, 0x6425);
    EXPECT_EQ(interface.inputReportLength, 18);
    EXPECT_EQ(interface.outputReportLength, 8);
    const DeviceListEntry& loader = listing.entries[1];
    EXPECT_EQ(loader.vendorId, 0x5381);
    EXPECT_EQ(loader.productId, 0x640B);
    EXPECT_EQ(loader.inputReportLength, 22);
    EXPECT_EQ(loader.outputReportLength, 22);

    // -1 seen as unsigned lists everything as well; the maximum count is honoured.
    EXPECT_GE(
        lib->GetList(0xFFFFFFFF, 0xFFFFFFFF, nullptr, nullptr, nullptr, listing.entries.data(), 20),
        5);
    EXPECT_EQ(lib->GetList(kAny, kAny, nullptr, nullptr, nullptr, listing.entries.data(), 2), 2);
    EXPECT_EQ(lib->GetList(kAny, kAny, nullptr, nullptr, nullptr, listing.entries.data(), -3), 0);
    EXPECT_EQ(lib->GetList(kAny, kAny, nullptr, nullptr, nullptr, nullptr, 20), -1);
}

TEST_F(Emulated, ProductStringIsShortenedAndFilteredInItsShortForm) {
    Listing listing;
    ASSERT_EQ(lib->GetList(kTestVendor, 1, nullptr, nullptr, nullptr, listing.entries.data(), 20),
              1);
    EXPECT_STREQ(listing.entries[0].product, "RC");
    EXPECT_STREQ(listing.entries[0].serialNumber, "E2E1");
    EXPECT_EQ(lib->GetList(kTestVendor, 1, nullptr, nullptr, "RC", listing.entries.data(), 20), 1);
    EXPECT_EQ(
        lib->GetList(kTestVendor, kAny, nullptr, nullptr, "RC USB", listing.entries.data(), 20), 0);
    EXPECT_EQ(lib->Open(kTestVendor, 1, nullptr, "E2E1", "RC USB", 1), 0);
    EXPECT_EQ(lib->Open(kTestVendor, 1, nullptr, "E2E1", "RC", 1), 1);
}

TEST_F(Emulated, LongSerialNumberOpensWithTheFormTheListingHandsOut) {
    Listing listing;
    ASSERT_EQ(lib->GetList(kTestVendor, 3, nullptr, nullptr, nullptr, listing.entries.data(), 20),
              1);
    const std::string listed = listing.entries[0].serialNumber;
    EXPECT_EQ(listed, "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(lib->GetList(kTestVendor, kAny, nullptr, listed.c_str(), nullptr,
                           listing.entries.data(), 20),
              1);
    EXPECT_EQ(lib->Open(kTestVendor, kAny, nullptr, listed.c_str(), nullptr, 1), 1);
    EXPECT_EQ(lib->Open(kTestVendor, kAny, nullptr, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", nullptr, 1),
              1);
    EXPECT_EQ(lib->Open(kTestVendor, kAny, nullptr, "ABCDEFGHIJKLMNOPQR", nullptr, 1), 0);
    EXPECT_EQ(lib->Open(kTestVendor, kAny, nullptr, "ABCDEFGHIJKLMNOPQRSX", nullptr, 1), 0);
}

TEST_F(Emulated, SetInstanceRefusesOtherNumbers) {
    EXPECT_EQ(lib->SetInstance(2), -1);
    EXPECT_EQ(lib->SetInstance(1), 1);
    EXPECT_EQ(lib->SetInstance(-1), -1);
    EXPECT_EQ(lib->SetInstance(0), 0);
}

// The locked device stands for a node without permission, and says so.
TEST_F(Emulated, LockedDeviceIsListedButCannotBeOpened) {
    Listing listing;
    EXPECT_EQ(lib->GetList(kTestVendor, 2, nullptr, nullptr, nullptr, listing.entries.data(), 20),
              1);
    EXPECT_EQ(lib->Open(kTestVendor, 2, nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(lib->GetOpenError(), EACCES);
    std::array<uint8_t, 18> report{};
    EXPECT_EQ(lib->Read(report.data()), -1);
    EXPECT_EQ(lib->Open(kTestVendor, 99, nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(lib->GetOpenError(), ENODEV);
    EXPECT_EQ(lib->Open(kTestVendor, 1, nullptr, nullptr, nullptr, 1), 1);
    EXPECT_EQ(lib->GetOpenError(), 0);
    lib->CloseRead();
    lib->CloseWrite();
}

TEST_F(Emulated, OverlappedReadWithNothingQueuedReturnsZero) {
    ASSERT_EQ(lib->Open(0x5381, 0x640B, nullptr, nullptr, nullptr, 1), 1);
    int32_t in = 0, out = 0;
    lib->GetReportLengths(&in, &out);
    EXPECT_EQ(in, 22);
    EXPECT_EQ(out, 22);
    std::array<uint8_t, 22> report{};
    report.fill(0xF9);
    EXPECT_EQ(lib->Read(report.data()), 0);
    // The caller's buffer keeps what it held: read loops test its first byte.
    for (uint8_t b : report)
        EXPECT_EQ(b, 0xF9);
}

TEST_F(Emulated, BlockingReadWaitsForTheNextJoystickReport) {
    ASSERT_EQ(lib->Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 0), 1);
    std::array<uint8_t, 18> report{};
    ASSERT_EQ(lib->Read(report.data()), 18);
    EXPECT_EQ(report[0], 0x01);
}

TEST_F(Emulated, ConfigurationAnswerArrivesAfterItsLatencyBetweenJoystickReports) {
    ASSERT_EQ(lib->Open(kTestVendor, 3, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 18> report{};
    while (lib->Read(report.data()) > 0) {
    }

    const std::array<uint8_t, 8> command{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00};
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(lib->Write(command.data()), 8);

    int joystickReports = 0;
    bool answered = false;
    while (!answered && std::chrono::steady_clock::now() - sent < 3s) {
        const int32_t n = lib->Read(report.data());
        ASSERT_GE(n, 0);
        if (n == 0) {
            std::this_thread::sleep_for(1ms);
            continue;
        }
        ASSERT_EQ(n, 18);
        if (report[0] == 0x01) ++joystickReports;
        if (report[0] == 0xF9) {
            answered = true;
            EXPECT_GE(std::chrono::steady_clock::now() - sent, 30ms);
        }
    }
    EXPECT_TRUE(answered);
    EXPECT_GE(joystickReports, 1);
}

TEST_F(Emulated, ReadTimeoutBlocksUntilTheAnswerArrives) {
    ASSERT_EQ(lib->Open(kTestVendor, 3, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 18> report{};
    while (lib->Read(report.data()) > 0) {
    }
    const std::array<uint8_t, 8> command{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C, 0x00, 0x00};
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(lib->Write(command.data()), 8);
    int32_t n = 0;
    int reads = 0;
    // Each wait ends with a report: the joystick stream's, then the answer.
    while ((n = lib->ReadTimeout(report.data(), 1000)) == 18 && report[0] != 0xF9 && reads < 20)
        ++reads;
    ASSERT_EQ(n, 18);
    EXPECT_EQ(report[1], 0x1C);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 30ms);
    EXPECT_LE(reads, 4) << "about one joystick report per 10 ms of latency";
}

TEST_F(Emulated, ReadTimeoutWithNothingComingReturnsZeroAndKeepsTheBuffer) {
    ASSERT_EQ(lib->Open(0x5381, 0x640B, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 22> report{};
    report.fill(0xAA);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(lib->ReadTimeout(report.data(), 20), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
    EXPECT_EQ(report[0], 0xAA);
    EXPECT_EQ(lib->ReadTimeout(report.data(), -5), 0);
    lib->CloseRead();
    EXPECT_EQ(lib->ReadTimeout(report.data(), 5), -1);
}

TEST_F(Emulated, ClosedHalvesFail) {
    ASSERT_EQ(lib->Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1), 1);
    std::array<uint8_t, 18> report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00};
    lib->CloseRead();
    EXPECT_EQ(lib->Read(report.data()), -1);
    EXPECT_EQ(lib->Write(report.data()), 8);
    lib->CloseWrite();
    EXPECT_EQ(lib->Write(report.data()), -1);
    lib->CloseRead();
    lib->CloseWrite();
}

TEST_F(Emulated, UnpluggedDeviceFailsReadAndWrite) {
    // The bus came up with this process's first call; run alone, the device is still there.
    if (lib->Open(kTestVendor, 4, nullptr, nullptr, nullptr, 1) != 1)
        GTEST_SKIP() << "the device left before the test began";
    std::array<uint8_t, 18> report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00};
    const auto start = std::chrono::steady_clock::now();
    int32_t n = 0;
    while ((n = lib->Read(report.data())) >= 0 && std::chrono::steady_clock::now() - start < 3s)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(lib->Write(report.data()), -1);
    Listing listing;
    EXPECT_EQ(lib->GetList(kTestVendor, 4, nullptr, nullptr, nullptr, listing.entries.data(), 20),
              0);
}

TEST_F(Emulated, VersionText) {
    std::array<char, 5> text{};
    EXPECT_EQ(lib->GetLibVersion(text.data()), 0);
    EXPECT_STREQ(text.data(), "1.16");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new EmulatedBus);
    return RUN_ALL_TESTS();
}
