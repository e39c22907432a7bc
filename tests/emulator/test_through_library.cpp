// The queue and fault keys and the state file as the program meets them: the real
// libtavrel.so loaded by name. The library picks its devices on its first call, so each
// case runs in a child process of its own with its own TAVREL_EMULATOR.
#include "../hidlib/tavrel_library.h"

#include "emulator/bus.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr std::array<uint8_t, 8> request(uint8_t code, uint8_t v1 = 0, uint8_t v2 = 0) {
    return {0xF9, 0x00, 0x08, 0x15, 0xEE, code, v1, v2};
}

// Runs body against a freshly loaded library; the child's exit code carries the outcome.
void withLibrary(const std::string& devices, const std::string& statePath,
                 const std::function<void(TavrelLibrary&)>& body) {
    EXPECT_EXIT(
        {
            setenv("TAVREL_EMULATOR", devices.c_str(), 1);
            if (statePath.empty())
                unsetenv("TAVREL_EMULATOR_STATE");
            else
                setenv("TAVREL_EMULATOR_STATE", statePath.c_str(), 1);
            TavrelLibrary lib;
            body(lib);
            std::exit(::testing::Test::HasFailure() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

// The next configuration answer within the time, or nothing; other reports are skipped.
std::optional<std::array<uint8_t, 18>> answer(TavrelLibrary& lib, int32_t timeoutMs = 1000) {
    std::array<uint8_t, 18> report{};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const int32_t n = lib.ReadTimeout(report.data(), 50);
        if (n < 0) return std::nullopt;
        if (n > 0 && report[0] == 0xF9) return report;
    }
    return std::nullopt;
}

TEST(ThroughLibrary, FailedShortAndDuplicatedExchanges) {
    withLibrary("interface:latency_ms=0.5:joy_ms=0:write_fail=2:write_short=3:dup=1", "",
                [](TavrelLibrary& lib) {
                    ASSERT_EQ(lib.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1), 1);
                    EXPECT_EQ(lib.Write(request(0x10).data()), 8);
                    EXPECT_EQ(lib.Write(request(0x11).data()), -1);
                    EXPECT_EQ(lib.Write(request(0x12).data()), 7);
                    for (int copy = 0; copy < 2; ++copy) { // only the first was taken, twice
                        const auto a = answer(lib);
                        ASSERT_TRUE(a);
                        EXPECT_EQ((*a)[1], 0x10);
                    }
                    EXPECT_FALSE(answer(lib, 50));
                });
}

TEST(ThroughLibrary, IdleHandleLosesTheAnswerUntilItIsReadAway) {
    withLibrary("interface:joy_ms=1", "", [](TavrelLibrary& lib) {
        ASSERT_EQ(lib.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1), 1);
        std::this_thread::sleep_for(150ms);
        ASSERT_EQ(lib.Write(request(0x1C).data()), 8);
        std::this_thread::sleep_for(5ms);
        std::array<uint8_t, 18> report{};
        int queued = 0;
        while (lib.Read(report.data()) > 0 && queued < 1000) {
            EXPECT_EQ(report[0], 0x01);
            ++queued;
        }
        EXPECT_GE(queued, 63);
        ASSERT_EQ(lib.Write(request(0x1C).data()), 8);
        EXPECT_TRUE(answer(lib));
    });
}

TEST(ThroughLibrary, ReplugFailsTheOldOpenAndANewOpenWorks) {
    withLibrary("interface:joy_ms=0:latency_ms=0.5:replug_after_ms=300:away_ms=200", "",
                [](TavrelLibrary& lib) {
                    ASSERT_EQ(lib.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1), 1);
                    std::array<uint8_t, 18> report{};
                    EXPECT_EQ(lib.ReadTimeout(report.data(), 5000), -1);
                    EXPECT_EQ(lib.Write(request(0x10).data()), -1);
                    EXPECT_EQ(lib.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1), 0);
                    const auto deadline = std::chrono::steady_clock::now() + 3s;
                    while (lib.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1) != 1 &&
                           std::chrono::steady_clock::now() < deadline)
                        std::this_thread::sleep_for(10ms);
                    ASSERT_EQ(lib.Write(request(0x10).data()), 8);
                    EXPECT_TRUE(answer(lib));
                });
}

class ThroughLibraryState : public ::testing::Test {
protected:
    ThroughLibraryState() {
        path = (std::filesystem::temp_directory_path() /
                ("emulator-library-state-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string();
        std::filesystem::remove(path);
    }
    ~ThroughLibraryState() override { std::filesystem::remove(path); }
    std::string path;
};

// Axis 1's channel in the working configuration kept in the file, read by a bus of its own
// that leaves the file as it is.
int keptAxisOne(const std::string& path) {
    const std::string copy = path + ".peek";
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    int channel = -1;
    {
        emu::Bus bus(*emu::parseDeviceList("interface:joy_ms=0:latency_ms=0.2"), copy);
        auto port = bus.open("emu:0");
        port->write(request(0x10));
        std::array<uint8_t, 32> buf{};
        for (int n; channel < 0 && (n = port->readBlocking(buf, 1000ms)) > 0;)
            if (buf[0] == 0xF9) channel = buf[2] & 0x0F;
    }
    std::filesystem::remove(copy);
    return channel;
}

void storeAxisOne(TavrelLibrary& lib, uint8_t channel) {
    for (const auto& r : {request(0x01), request(0x02, 1, channel), request(0xFF, 1)}) {
        ASSERT_EQ(lib.Write(r.data()), 8);
        ASSERT_TRUE(answer(lib));
    }
}

TEST_F(ThroughLibraryState, SavedWhenClosedAndWhenTheProgramEndsWithTheDeviceOpen) {
    withLibrary("interface:joy_ms=0:latency_ms=0.2", path, [&](TavrelLibrary& lib) {
        ASSERT_EQ(lib.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1), 1);
        storeAxisOne(lib, 3);
        storeAxisOne(lib, 4); // moments after the first save
        lib.CloseRead();
        lib.CloseWrite();
        EXPECT_EQ(keptAxisOne(path), 4); // the library is still loaded: closing saved it
    });
    EXPECT_EQ(keptAxisOne(path), 4);

    withLibrary("interface:joy_ms=0:latency_ms=0.2", path, [](TavrelLibrary& lib) {
        ASSERT_EQ(lib.Open(0x537F, 0x6425, nullptr, nullptr, nullptr, 1), 1);
        storeAxisOne(lib, 6);
        storeAxisOne(lib, 7);
        std::exit(::testing::Test::HasFailure() ? 1 : 0); // device left open
    });
    EXPECT_EQ(keptAxisOne(path), 7);
}

} // namespace
