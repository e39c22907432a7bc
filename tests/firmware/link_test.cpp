// The link cipher and sendReport: the bytes on the wire, the texts left behind, the console
// messages of failed exchanges.
#include <gtest/gtest.h>

#include <string>

#include "firmware/core/boot_loader_link.h"
#include "firmware/core/link_cipher.h"
#include "testreport/fake_report_port.h"

namespace orvane::test {
namespace {

using firmware::LinkCipher;

TEST(LinkCipher, ScramblesChainingOnTheLastScrambledByte) {
    LinkCipher cipher;
    // (0 ^ 00) + 2B = 2B, ^ 5D = 76; (76 ^ 00) + 2B = A1, ^ 5D = FC.
    EXPECT_EQ(cipher.encodeLinkByte(0x00), 0x76);
    EXPECT_EQ(cipher.encodeLinkByte(0x00), 0xFC);
    EXPECT_EQ(cipher.sendChain(), 0xFC);
    EXPECT_EQ(cipher.receiveChain(), 0x00);
    // (FC ^ 5D) - 2B = 76, ^ chain 0 = 76.
    EXPECT_EQ(cipher.decodeLinkByte(0xFC), 0x76);
    EXPECT_EQ(cipher.receiveChain(), 0xFC);
}

TEST(LinkCipher, DecodeUndoesEncodeForEveryByteWhenChainsAreEqual) {
    for (int chain : {0x00, 0xC6, 0xFF}) {
        LinkCipher cipher;
        cipher.setChains(static_cast<uint8_t>(chain));
        for (int p = 0; p < 256; ++p) {
            ASSERT_EQ(cipher.decodeLinkByte(cipher.encodeLinkByte(static_cast<uint8_t>(p))), p);
            ASSERT_EQ(cipher.sendChain(), cipher.receiveChain());
        }
    }
}

struct TextConsole : firmware::LinkConsole {
    std::string text = "before\r\n";
    void replaceConsole(std::string_view t) override { text = t; }
    void appendConsole(std::string_view t) override { text += t; }
};

struct LinkFixture : ::testing::Test {
    FakeClock clock;
    FakeReportPort port{clock, 22, 22};
    TextConsole console;
    firmware::BootLoaderLink link{port, clock, console};
    LinkCipher device; // the other end's chains

    void SetUp() override {
        link.InputReportLen = 22;
        link.OutputReportLen = 22;
    }
    firmware::SendResult send(std::string payload) {
        link.OutputReportID = "F9";
        link.WriteBuffer = std::move(payload);
        return link.sendReport();
    }
    // Answers every request with F9, its command and the given plain bytes, scrambled.
    void answerWith(Report plain) {
        port.onRequest = [this, plain](FakeReportPort& p, const Report& request) {
            Report answer = plain;
            answer.resize(22, 0);
            answer[0] = 0xF9;
            answer[1] = request[1];
            for (std::size_t i = 2; i < request.size(); ++i)
                device.decodeLinkByte(request[i]);
            for (std::size_t i = 2; i < answer.size(); ++i)
                answer[i] = device.encodeLinkByte(answer[i]);
            p.deliver(answer, std::chrono::microseconds{1500});
        };
    }
};

TEST_F(LinkFixture, ScramblesEveryByteFromTwoOnAndLeavesTheTexts) {
    answerWith({0, 0, 0x10, 0x0F, 0x20, 0x00, 0xAB});
    const auto result = send("FF 00 00 00 00 00 00");
    ASSERT_TRUE(result.answered());
    ASSERT_EQ(port.written.size(), 1u);
    const Report& wire = port.written[0];
    EXPECT_EQ(wire[0], 0xF9);
    EXPECT_EQ(wire[1], 0xFF);
    LinkCipher check;
    for (std::size_t i = 2; i < 22; ++i)
        EXPECT_EQ(wire[i], check.encodeLinkByte(0)) << i; // the zeros behind the payload too
    std::string twenty;
    for (int i = 0; i < 20; ++i)
        twenty += "00 ";
    EXPECT_EQ(link.OutputReportID, "F9");
    EXPECT_EQ(link.WriteBuffer, "FF " + twenty);
    EXPECT_EQ(link.InputReportID, "F9");
    EXPECT_EQ(link.ReadBuffer.substr(0, 18), "FF 10 0F 20 00 AB ");
    EXPECT_EQ(link.ReadBuffer.size(), 21u * 3);
    EXPECT_EQ(link.cipher.sendChain(), wire[21]);
    EXPECT_EQ(console.text, "before\r\n");
}

TEST_F(LinkFixture, LeadingBlankSendsCommandZeroAndTokensBeyondTheReportAreLeftOut) {
    link.OutputReportLen = 4;
    send(" 12 34 56 78");
    ASSERT_EQ(port.written.size(), 1u);
    EXPECT_EQ(link.WriteBuffer, "00 12 34 ");
    EXPECT_EQ(port.written[0][1], 0x00);
    LinkCipher check;
    EXPECT_EQ(port.written[0][2], check.encodeLinkByte(0x12));
}

TEST_F(LinkFixture, StaleReportsAreReadAwayBeforeTheRequest) {
    port.deliver({0xF9, 0x77, 0x01});
    port.deliver({0xF9, 0x78, 0x02});
    answerWith({0, 0, 0x42});
    const auto result = send("32 00 00 00 00 00 00");
    ASSERT_TRUE(result.answered());
    EXPECT_EQ(result.answer[1], 0x32);
    EXPECT_EQ(result.answer[2], 0x42);
}

TEST_F(LinkFixture, MissingAnswerIsReportedAndItsZerosStillAdvanceTheReceiveChain) {
    const auto result = send("32 00 00 00 00 00 00");
    EXPECT_EQ(result.outcome, firmware::LinkOutcome::NoAnswer);
    EXPECT_EQ(console.text, "before\r\nRead failed! rdresult 0, inputReportLength 22\r\n");
    EXPECT_EQ(link.cipher.receiveChain(), 0x00); // chained over twenty zero bytes
    EXPECT_EQ(result.answer[2], LinkCipher{}.decodeLinkByte(0));
    // An all-zero report cannot be told from none.
    port.onRequest = [](FakeReportPort& p, const Report&) { p.deliver(Report(22, 0)); };
    EXPECT_FALSE(send("32 00").answered());
}

TEST_F(LinkFixture, FailedWriteReplacesTheConsoleAndShortWriteWaitsForNothing) {
    port.writeResults = {-1, 10};
    EXPECT_EQ(send("03 01 0F 20 00").outcome, firmware::LinkOutcome::WriteFailed);
    EXPECT_EQ(console.text, "Write failed!\r\nRead failed! rdresult 0, inputReportLength 22\r\n");
    EXPECT_NE(link.cipher.sendChain(), 0); // scrambled all the same
    EXPECT_EQ(send("03 01 0F 20 00").outcome, firmware::LinkOutcome::WriteShort);
    EXPECT_EQ(port.reads, 2); // only the reads that look for stale reports
}

TEST_F(LinkFixture, ShortReportsAreNotScrambledAndOversizedOnesAreNotSent) {
    FakeReportPort shortPort{clock, 2, 2};
    firmware::BootLoaderLink shortLink{shortPort, clock, console};
    shortLink.InputReportLen = 2;
    shortLink.OutputReportLen = 2;
    shortPort.onRequest = [](FakeReportPort& p, const Report& r) { p.deliver({0xF9, r[1]}); };
    shortLink.OutputReportID = "F9";
    shortLink.WriteBuffer = "32 00 00";
    EXPECT_TRUE(shortLink.sendReport().answered());
    EXPECT_EQ(shortLink.cipher.sendChain(), 0);
    EXPECT_EQ(shortLink.cipher.receiveChain(), 0);
    link.OutputReportLen = 102;
    EXPECT_EQ(send("32").outcome, firmware::LinkOutcome::WriteFailed);
    EXPECT_TRUE(port.written.empty());
}

TEST_F(LinkFixture, DeviceThatLeavesWhileWeWaitIsToldApartFromSilence) {
    port.goneAt = clock.now() + std::chrono::microseconds{500};
    EXPECT_EQ(send("32").outcome, firmware::LinkOutcome::DeviceGone);
}

} // namespace
} // namespace orvane::test
