// The hidraw handle's byte handling, with one end of a socket pair standing in for the
// hidraw node: like hidraw, a sequenced-packet socket keeps each report whole.
#include "hidraw_handle.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using tavrel::ReadWait;

namespace {

class HidrawHandleTest : public ::testing::Test {
protected:
    void open(bool numbered) {
        std::array<int, 2> fds{};
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds.data()), 0);
        handle = tavrel::makeHidrawHandle(fds[0], numbered);
        node = fds[1];
    }
    void TearDown() override {
        if (node >= 0) ::close(node);
    }
    // What the device sends, as hidraw hands it out.
    void deviceSends(const std::vector<uint8_t>& bytes) const {
        ASSERT_EQ(::send(node, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    }
    // What reached the node, as hidraw takes it.
    std::vector<uint8_t> nodeReceives() const {
        std::vector<uint8_t> bytes(256);
        const ssize_t n = ::recv(node, bytes.data(), bytes.size(), MSG_DONTWAIT);
        bytes.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
        return bytes;
    }

    std::unique_ptr<tavrel::DeviceHandle> handle;
    int node = -1;
    std::array<uint8_t, 101> buffer{};
};

TEST_F(HidrawHandleTest, UnnumberedReportsGetId0FirstOnReadAndGoOutWholeOnWrite) {
    open(false);
    buffer.fill(0xAA);
    EXPECT_EQ(handle->read(buffer, ReadWait::Immediate), 0);
    EXPECT_EQ(buffer[0], 0xAA); // nothing waited: the buffer is as it was

    deviceSends({0x11, 0x22, 0x33, 0x44, 0x55, 0x66});
    ASSERT_EQ(handle->read(buffer, ReadWait::Forever), 7);
    EXPECT_EQ((std::vector<uint8_t>(buffer.begin(), buffer.begin() + 8)),
              (std::vector<uint8_t>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xAA}));

    // The id 0 goes to the node first, where the kernel takes it off for the device.
    const std::array<uint8_t, 4> report{0x00, 0x01, 0x02, 0x03};
    EXPECT_EQ(handle->write(report), 4);
    EXPECT_EQ(nodeReceives(), (std::vector<uint8_t>{0x00, 0x01, 0x02, 0x03}));
}

TEST_F(HidrawHandleTest, NumberedReportsPassThroughWithTheirIds) {
    open(true);
    deviceSends({0xF9, 0x1C, 0x01, 0x03});
    deviceSends({0x01, 0x80});
    ASSERT_EQ(handle->read(buffer, ReadWait::Immediate), 4);
    EXPECT_EQ((std::vector<uint8_t>(buffer.begin(), buffer.begin() + 4)),
              (std::vector<uint8_t>{0xF9, 0x1C, 0x01, 0x03}));
    ASSERT_EQ(handle->read(buffer, ReadWait::Immediate), 2);
    EXPECT_EQ(buffer[0], 0x01);

    const std::array<uint8_t, 3> report{0xF9, 0x00, 0x08};
    EXPECT_EQ(handle->write(report), 3);
    EXPECT_EQ(nodeReceives(), (std::vector<uint8_t>{0xF9, 0x00, 0x08}));
}

TEST_F(HidrawHandleTest, ALongReportIsCutToTheBufferAndAGoneNodeFails) {
    open(false);
    deviceSends(std::vector<uint8_t>(200, 0x5A));
    std::array<uint8_t, 9> small{};
    EXPECT_EQ(handle->read(small, ReadWait::Immediate), 9);
    EXPECT_EQ(small[0], 0x00);
    EXPECT_EQ(small[8], 0x5A);

    ::close(node);
    node = -1;
    EXPECT_EQ(handle->read(buffer, ReadWait::Forever), -1);
    EXPECT_FALSE(handle->connected());
    EXPECT_EQ(handle->write(buffer), -1);
}

} // namespace
