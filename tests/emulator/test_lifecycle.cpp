// Storing, replugging, switching between normal and boot-loader mode, and the state file.
#include "host_side.h"
#include "state_saver.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

namespace {

using namespace std::chrono_literals;

emu::Bus busOf(const char* text, std::string statePath = {}) {
    return emu::Bus(*emu::parseDeviceList(text), std::move(statePath));
}

int axisOneChannel(emu::Port& port) {
    const auto answer = host::exchange(port, 0x10);
    return answer ? ((*answer)[2] & 0x0F) : -1;
}

void setAxisOne(emu::Port& port, uint8_t channel, uint8_t leave) {
    ASSERT_TRUE(host::exchange(port, 0x01));
    ASSERT_EQ((*host::exchange(port, 0x02, 1, channel))[1], 0x02);
    ASSERT_TRUE(host::exchange(port, 0xFF, leave));
}

// Waits until the slot shows the given product id; false after a generous time.
bool waitForPid(emu::Bus& bus, uint16_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + host::kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto listed = bus.list();
        if (!listed.empty() && listed[0].pid == pid) return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

TEST(Lifecycle, ReplugRestoresTheStoredConfiguration) {
    auto bus = busOf("interface:latency_ms=0.2:joy_ms=0");
    auto port = bus.open("emu:0");
    setAxisOne(*port, 4, 0); // leave without storing
    EXPECT_EQ(axisOneChannel(*port), 4);
    bus.replug("emu:0");
    EXPECT_FALSE(port->connected());
    EXPECT_EQ(port->write(host::request(0x10)), -1);

    port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 1);
    setAxisOne(*port, 6, 1); // exit and save
    bus.replug("emu:0");
    port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 6);
}

TEST(Lifecycle, InterfaceToLoaderAndBack) {
    auto bus = busOf("interface:latency_ms=0.2:reboot_ms=20:joy_ms=0:serial=S1");
    auto port = bus.open("emu:0");
    setAxisOne(*port, 5, 1);
    ASSERT_TRUE(host::exchange(*port, 0x01));
    ASSERT_TRUE(host::exchange(*port, 0x07, 0xFF, 0xFF));
    ASSERT_TRUE(host::exchange(*port, 0xFF, 0)); // not stored: no restart
    EXPECT_TRUE(port->connected());
    ASSERT_TRUE(host::exchange(*port, 0x01));
    const auto ack = host::exchange(*port, 0xFF, 1);
    ASSERT_TRUE(ack);
    EXPECT_EQ((*ack)[1], 0xFF);

    std::array<uint8_t, 32> buf{};
    EXPECT_EQ(port->readBlocking(buf, 5000ms), -1); // the interface leaves the bus
    ASSERT_TRUE(waitForPid(bus, 0x640B));
    const auto loader = bus.list().front();
    EXPECT_EQ(loader.path, "emu:0");
    EXPECT_EQ(loader.vid, 0x5381);
    EXPECT_EQ(loader.inLen, 22);
    EXPECT_EQ(loader.outLen, 22);
    EXPECT_EQ(loader.serial, u"S1");

    bus.replug("emu:0"); // the stored switch brings it up as the loader again
    ASSERT_EQ(bus.list().front().pid, 0x640B);

    auto boot = bus.open("emu:0");
    host::LinkCipher link;
    ASSERT_TRUE(host::detect(*boot, link, 5));
    const auto reset = host::loaderExchange(*boot, link, host::loaderCommand(0xFF));
    ASSERT_TRUE(reset);
    EXPECT_EQ((*reset)[1], 0xFF);
    ASSERT_TRUE(waitForPid(bus, 0x6425));
    EXPECT_FALSE(boot->connected());

    port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 5); // the stored configuration survived
    bus.replug("emu:0");
    EXPECT_EQ(bus.list().front().pid, 0x6425); // the switch was cleared
}

TEST(Lifecycle, LoaderDeviceResetsIntoNormalMode) {
    auto bus = busOf("loader:latency_ms=0.2:reboot_ms=0:product=Boot");
    EXPECT_EQ(bus.list().front().product, u"Boot");
    auto port = bus.open("emu:0");
    host::LinkCipher link;
    ASSERT_TRUE(host::detect(*port, link, 1));
    ASSERT_TRUE(host::loaderExchange(*port, link, host::loaderCommand(0xFF)));
    ASSERT_TRUE(waitForPid(bus, 0x6425));
    const auto listed = bus.list().front();
    EXPECT_EQ(listed.vid, 0x537F);
    EXPECT_EQ(listed.product, u"ZT2960"); // the configured product names the loader only
    EXPECT_EQ(listed.inLen, 18);
}

class StateFile : public ::testing::Test {
protected:
    StateFile() {
        path = (std::filesystem::temp_directory_path() /
                ("emulator-state-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string();
        std::filesystem::remove(path);
    }
    ~StateFile() override { std::filesystem::remove(path); }
    std::string path;
};

std::array<uint8_t, 22> flashWrite(uint32_t address, uint8_t value) {
    auto r = host::loaderCommand(0x02, 16, address);
    std::fill(r.begin() + 6, r.end(), value);
    return r;
}

TEST_F(StateFile, StateSurvivesIntoTheNextBus) {
    const char* devices = "interface:latency_ms=0.2:joy_ms=0,loader:latency_ms=0.2";
    {
        auto bus = busOf(devices, path);
        auto port = bus.open("emu:0");
        setAxisOne(*port, 3, 1); // stored
        setAxisOne(*port, 7, 0); // working only
        auto boot = bus.open("emu:1");
        host::LinkCipher link;
        ASSERT_TRUE(host::detect(*boot, link, 1));
        ASSERT_TRUE(host::loaderExchange(*boot, link, host::loaderCommand(0x03, 1, 0x4000)));
        ASSERT_TRUE(host::loaderExchange(*boot, link, flashWrite(0x4010, 0x3C)));
        ASSERT_EQ((*host::loaderExchange(*boot, link, host::loaderCommand(0x32)))[2], 1);
    }
    EXPECT_TRUE(std::filesystem::exists(path));
    auto bus = busOf(devices, path);
    auto port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 7); // still plugged in: the working configuration
    bus.replug("emu:0");
    port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 3);

    auto boot = bus.open("emu:1");
    host::LinkCipher link;
    ASSERT_TRUE(host::detect(*boot, link, 2));
    const auto line = host::loaderExchange(*boot, link, host::loaderCommand(0x01, 16, 0x4010));
    ASSERT_TRUE(line);
    EXPECT_EQ((*line)[6], 0x3C);
    EXPECT_EQ((*line)[21], 0x3C);
    const auto erased = host::loaderExchange(*boot, link, host::loaderCommand(0x01, 16, 0x4020));
    EXPECT_EQ((*erased)[6], 0xFF);
    EXPECT_EQ((*host::loaderExchange(*boot, link, host::loaderCommand(0x32)))[2], 0); // was on
}

// A device that left the bus lost what it only ran: the next process plugs it in afresh.
TEST_F(StateFile, ADeviceThatLeftTheBusComesBackWithItsStoredConfiguration) {
    for (const char* devices : {"interface:latency_ms=0.2:joy_ms=0:unplug_after_ms=150",
                                "interface:latency_ms=0.2:joy_ms=0:replug_after_ms=150:"
                                "away_ms=60000"}) {
        {
            auto bus = busOf(devices, path);
            auto port = bus.open("emu:0");
            setAxisOne(*port, 3, 1); // stored
            ASSERT_TRUE(host::exchange(*port, 0x01));
            ASSERT_TRUE(host::exchange(*port, 0x02, 1, 7)); // working only, programming on
            std::this_thread::sleep_for(200ms);             // it leaves meanwhile
        }
        auto bus = busOf(devices, path);
        auto port = bus.open("emu:0");
        EXPECT_EQ(axisOneChannel(*port), 3) << devices;
        EXPECT_EQ((*host::exchange(*port, 0x02, 1, 5))[1], 0xEE) << "programming mode is off";
        std::filesystem::remove(path);
    }
}

TEST_F(StateFile, ModeSurvivesIntoTheNextBus) {
    const char* devices = "interface:latency_ms=0.2:joy_ms=0:reboot_ms=0";
    {
        auto bus = busOf(devices, path);
        auto port = bus.open("emu:0");
        ASSERT_TRUE(host::exchange(*port, 0x01));
        ASSERT_TRUE(host::exchange(*port, 0x07, 0xFF, 0xFF));
        ASSERT_TRUE(host::exchange(*port, 0xFF, 1));
        ASSERT_TRUE(waitForPid(bus, 0x640B));
    }
    auto bus = busOf(devices, path);
    EXPECT_EQ(bus.list().front().pid, 0x640B);
}

TEST_F(StateFile, DamagedOrMissingFileStartsFromDefaults) {
    const char* devices = "interface:latency_ms=0.2:joy_ms=0";
    {
        auto bus = busOf(devices, path);
        auto port = bus.open("emu:0");
        setAxisOne(*port, 8, 1);
    }
    std::string text;
    {
        std::ifstream in(path);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_FALSE(text.empty());
    const std::string damaged[] = {text.substr(0, text.size() / 2), "garbage\n", "",
                                   text.substr(0, text.find("end"))};
    for (const std::string& content : damaged) {
        {
            std::ofstream out(path, std::ios::trunc);
            out << content;
        }
        auto bus = busOf(devices, path);
        auto port = bus.open("emu:0");
        EXPECT_EQ(axisOneChannel(*port), 1) << content.size();
    }
    std::filesystem::remove(path);
    auto bus = busOf(devices, path);
    auto port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 1);
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(StateFile, SavedAFewTimesASecondWhileBusyAndWhenTheLastHandleCloses) {
    const char* devices = "interface:latency_ms=0.2:joy_ms=0";
    auto bus = busOf(devices, path);
    auto port = bus.open("emu:0");
    auto other = bus.open("emu:0");
    ASSERT_TRUE(host::exchange(*port, 0x01));
    std::set<std::string> versions;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 40; ++i) { // axis 1 last goes to channel 5
        ASSERT_TRUE(host::exchange(*port, 0x02, static_cast<uint8_t>(i % 8 + 1),
                                   static_cast<uint8_t>((i / 8) % 8 + 1)));
        versions.insert(fileText(path));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LE(static_cast<long>(versions.size()), 2 + elapsed / 250ms) << versions.size();

    port.reset();
    other.reset(); // the device's last handle: the pending change is written now
    auto next = busOf(devices, path);
    auto check = next.open("emu:0");
    EXPECT_EQ(axisOneChannel(*check), 5);
}

TEST_F(StateFile, PendingChangeIsSavedWhenTheProcessExits) {
    const char* devices = "interface:latency_ms=0.2:joy_ms=0";
    EXPECT_EXIT(
        {
            // Never destroyed, as when a program ends with the library loaded and a
            // device open.
            static emu::Bus* const bus =
                std::make_unique<emu::Bus>(*emu::parseDeviceList(devices), path).release();
            static emu::Port* const port = bus->open("emu:0").release();
            setAxisOne(*port, 6, 1);
            setAxisOne(*port, 7, 1); // moments after the first save: pending
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    auto bus = busOf(devices, path);
    auto port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 7);
}

// A state writer that keeps each save waiting until the test lets it go, and notes the
// texts it wrote in order.
class HeldWriter {
public:
    explicit HeldWriter(bool held = true) : released_(!held) {}
    emu::StateWriter writer() {
        return [this](const std::string& path, std::string_view text) {
            std::unique_lock lock(mutex_);
            waiting_ = true;
            changed_.notify_all();
            // Bounded, so that a save made under the bus's lock fails the test, not hangs it.
            changed_.wait_for(lock, 10s, [&] { return released_; });
            waiting_ = false;
            if (!path.empty()) std::ofstream(path, std::ios::trunc) << text;
            texts_.emplace_back(text);
        };
    }
    bool awaitWaiting() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 30s, [&] { return waiting_; });
    }
    bool waiting() {
        std::lock_guard lock(mutex_);
        return waiting_;
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    std::vector<std::string> texts() {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_;
    bool waiting_ = false;
    std::vector<std::string> texts_;
};

// A slow file system must not hold the answers back: the file is written outside the lock.
TEST_F(StateFile, TheDeviceAnswersWhileTheFileIsBeingWritten) {
    const char* devices = "interface:latency_ms=0.2:joy_ms=0";
    HeldWriter held;
    {
        emu::Bus bus(*emu::parseDeviceList(devices), path, held.writer());
        auto port = bus.open("emu:0");
        ASSERT_TRUE(host::exchange(*port, 0x01));
        ASSERT_TRUE(host::exchange(*port, 0x02, 1, 3)); // the first change is saved at once
        ASSERT_TRUE(held.awaitWaiting());
        const auto answer = host::exchange(*port, 0x02, 1, 7);
        ASSERT_TRUE(answer);
        EXPECT_EQ((*answer)[1], 0x02);
        EXPECT_EQ(axisOneChannel(*port), 7);
        EXPECT_TRUE(held.waiting()) << "the exchanges went on while the save was held";
        held.release();
        port.reset(); // the last handle: its state is in the file when this returns
    }
    auto next = busOf(devices, path);
    auto port = next.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 7);
}

TEST(StateSaver, AnOlderSnapshotNeverLandsOverANewerOne) {
    HeldWriter held;
    {
        emu::StateSaver saver("", held.writer());
        saver.submit("1");
        ASSERT_TRUE(held.awaitWaiting());
        saver.submit("2"); // overtaken before it could be written
        saver.submit("3");
        held.release();
        saver.flush();
        EXPECT_EQ(held.texts(), (std::vector<std::string>{"1", "3"}));
        saver.submit("4");
    } // the end writes what is pending
    EXPECT_EQ(held.texts().back(), "4");

    // Snapshots from several threads, numbered in the order they were taken (as the bus
    // takes them under its lock): the file sees them in that order and ends with the last.
    HeldWriter free(false);
    emu::StateSaver saver("", free.writer());
    std::mutex snapshot;
    int taken = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                std::lock_guard lock(snapshot);
                saver.submit(std::to_string(++taken));
            }
        });
    for (auto& t : threads)
        t.join();
    saver.flush();
    const auto texts = free.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "800");
    for (std::size_t i = 1; i < texts.size(); ++i)
        EXPECT_LT(std::stoi(texts[i - 1]), std::stoi(texts[i])) << i;
}

TEST_F(StateFile, LoaderResetComesBackInNormalModeAfterItsRebootTime) {
    const char* devices = "interface:latency_ms=0.2:joy_ms=0:reboot_ms=150";
    {
        auto bus = busOf(devices, path);
        auto port = bus.open("emu:0");
        setAxisOne(*port, 6, 1);
        ASSERT_TRUE(host::exchange(*port, 0x01));
        ASSERT_TRUE(host::exchange(*port, 0x07, 0xFF, 0xFF));
        ASSERT_TRUE(host::exchange(*port, 0xFF, 1));
        ASSERT_TRUE(waitForPid(bus, 0x640B));

        auto boot = bus.open("emu:0");
        host::LinkCipher link;
        ASSERT_TRUE(host::detect(*boot, link, 3));
        // Timed from the reset request, which comes before the leaving: a loaded machine
        // may notice the leaving late, never the request early.
        const auto reset = std::chrono::steady_clock::now();
        ASSERT_TRUE(host::loaderExchange(*boot, link, host::loaderCommand(0xFF)));
        const auto deadline = std::chrono::steady_clock::now() + host::kPatience;
        while (!bus.list().empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        ASSERT_TRUE(waitForPid(bus, 0x6425));
        EXPECT_GE(std::chrono::steady_clock::now() - reset, 150ms);
        port = bus.open("emu:0");
        EXPECT_EQ(axisOneChannel(*port), 6);
    }
    auto bus = busOf(devices, path); // the next process finds it in normal mode
    EXPECT_EQ(bus.list().front().pid, 0x6425);
    auto port = bus.open("emu:0");
    EXPECT_EQ(axisOneChannel(*port), 6);
}

TEST_F(StateFile, SectionOfAnotherKindIsIgnored) {
    {
        auto bus = busOf("interface:latency_ms=0.2:joy_ms=0", path);
        auto port = bus.open("emu:0");
        setAxisOne(*port, 8, 1);
    }
    auto bus = busOf("loader", path);
    EXPECT_EQ(bus.list().front().pid, 0x640B);
}

} // namespace
