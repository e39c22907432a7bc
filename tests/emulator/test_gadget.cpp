// The gadget server's parts that need no USB device controller: the report descriptors as
// the library's own parser reads them, and one serving session over a socket pair that
// keeps report boundaries as /dev/hidgN does.
#include "gadget/hidg_session.h"
#include "gadget/report_descriptor.h"

#include "report_descriptor.h" // the library's parser

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <future>
#include <optional>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using emu::Kind;

struct Lengths {
    int in;
    int out;
};

Lengths parsed(Kind mode, int in, int out) {
    const auto layout = tavrel::parseReportDescriptor(emu::gadget::reportDescriptor(mode, in, out));
    EXPECT_TRUE(layout.numberedReports);
    return {layout.inputReportLength, layout.outputReportLength};
}

TEST(GadgetDescriptor, HostSeesTheModesLengths) {
    const Lengths normal = parsed(Kind::Interface, 18, 8);
    EXPECT_EQ(normal.in, 18);
    EXPECT_EQ(normal.out, 8);
    const Lengths loader = parsed(Kind::Loader, 22, 22);
    EXPECT_EQ(loader.in, 22);
    EXPECT_EQ(loader.out, 22);
    // Lengths from the in/out keys, one beyond a one-byte report count.
    const Lengths large = parsed(Kind::Loader, 64, 300);
    EXPECT_EQ(large.in, 64);
    EXPECT_EQ(large.out, 300);
    // The joystick report alone needs 18 bytes, whatever the vendor report is given.
    EXPECT_EQ(parsed(Kind::Interface, 4, 4).in, 18);
}

// The host's end of the pair reads and writes whole reports.
class HostEnd {
public:
    explicit HostEnd(int fd) : fd_(fd) {}
    void send(std::vector<uint8_t> report) {
        ASSERT_EQ(::write(fd_, report.data(), report.size()), static_cast<ssize_t>(report.size()));
    }
    // The next report with this id, passing over others; nothing within a generous bound.
    std::optional<std::vector<uint8_t>> next(uint8_t id) {
        for (int i = 0; i < 500; ++i) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            std::array<uint8_t, 256> buf{};
            const ssize_t n = ::read(fd_, buf.data(), buf.size());
            if (n > 0 && buf[0] == id) return std::vector<uint8_t>(buf.begin(), buf.begin() + n);
        }
        return std::nullopt;
    }

private:
    int fd_;
};

class GadgetSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds_), 0);
    }
    void TearDown() override {
        stop = true;
        if (ended.valid()) ended.wait();
        ::close(fds_[0]);
        ::close(fds_[1]);
    }
    void start(
        const std::string& device,
        std::function<bool(long)> onRequest = [](long) { return true; }) {
        bus.emplace(*emu::parseDeviceList(device));
        port = bus->open("emu:0");
        ASSERT_TRUE(port);
        ended = std::async(std::launch::async, [this, onRequest] {
            return emu::gadget::serve(fds_[0], *port, stop, onRequest, counters);
        });
    }
    HostEnd host() { return HostEnd(fds_[1]); }

    int fds_[2] = {-1, -1};
    std::optional<emu::Bus> bus;
    std::unique_ptr<emu::Port> port;
    std::atomic<bool> stop{false};
    emu::gadget::SessionCounters counters;
    std::future<emu::gadget::SessionEnd> ended;
};

TEST_F(GadgetSession, AnswersComeBackBesideTheJoystickStream) {
    start("interface:latency_ms=0");
    HostEnd h = host();
    h.send({0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C, 0x00, 0x00});
    const auto answer = h.next(0xF9);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->size(), 18u);
    EXPECT_EQ(std::vector<uint8_t>(answer->begin(), answer->begin() + 6),
              (std::vector<uint8_t>{0xF9, 0x1C, 1, 3, 0, 5}));
    const auto joystick = h.next(0x01);
    ASSERT_TRUE(joystick);
    EXPECT_EQ(joystick->size(), 18u);
}

TEST_F(GadgetSession, ARefusedRequestNeverReachesTheModelAndEndsTheSession) {
    start("interface:latency_ms=0:joy_ms=0", [this](long number) {
        if (number < 2) return true;
        stop = true;
        return false;
    });
    HostEnd h = host();
    h.send({0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C, 0x00, 0x00});
    ASSERT_TRUE(h.next(0xF9));
    h.send({0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C, 0x00, 0x00});
    EXPECT_EQ(ended.get(), emu::gadget::SessionEnd::Stopped);
    EXPECT_EQ(counters.requests, 1);
    EXPECT_EQ(counters.answers, 1);
}

TEST_F(GadgetSession, ARestartEndsTheSessionAfterItsAcknowledgementWentOut) {
    start("interface:latency_ms=0:joy_ms=0:reboot_ms=60000");
    HostEnd h = host();
    for (const uint8_t code : {0x01, 0x07, 0xFF}) {
        const uint8_t v1 = code == 0x01 ? 0x00 : code == 0x07 ? 0xFF : 0x01;
        const uint8_t v2 = code == 0x07 ? 0xFF : 0x00;
        h.send({0xF9, 0x00, 0x08, 0x15, 0xEE, code, v1, v2});
        const auto answer = h.next(0xF9);
        ASSERT_TRUE(answer);
        EXPECT_EQ((*answer)[1], code);
    }
    EXPECT_EQ(ended.get(), emu::gadget::SessionEnd::DeviceLeft);
    EXPECT_TRUE(bus->list().empty()); // away until reboot_ms
}

} // namespace
