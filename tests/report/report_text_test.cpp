#include "report/report_text.h"

#include <gtest/gtest.h>

namespace orvane::report {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(ReportText, TokensReadAsLeadingHexDigits) {
    EXPECT_EQ(parseReportText("00 08 15 EE 10 00 00", 100).bytes,
              (Bytes{0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00}));
    EXPECT_EQ(parseReportText("ee 0f 1G x1 ff", 100).bytes, (Bytes{0xEE, 0x0F, 0x01, 0, 0xFF}));
    // Two blanks make an empty token, a trailing blank one more.
    EXPECT_EQ(parseReportText("01  02 ", 100).bytes, (Bytes{1, 0, 2, 0}));
    EXPECT_TRUE(parseReportText("", 100).bytes.empty());
}

TEST(ReportText, WholeTokenReadingRefusesWhatIsNotHexadecimal) {
    const auto words = parseReportText("01 hello world", 100, TokenReading::WholeToken);
    EXPECT_FALSE(words.ok());
    EXPECT_TRUE(words.bytes.empty());
    EXPECT_EQ(words.error, "Byte 2 \"hello\" is not hexadecimal.");
    EXPECT_FALSE(parseReportText("1G", 100, TokenReading::WholeToken).ok());
    // Digits in either case and empty tokens (blanks) stay as they were.
    EXPECT_EQ(parseReportText("ee 0F  ", 100, TokenReading::WholeToken).bytes,
              (Bytes{0xEE, 0x0F, 0, 0}));
}

TEST(ReportText, RefusesWhatABufferCannotHold) {
    const auto big = parseReportText("01 1FF 02", 100);
    EXPECT_FALSE(big.ok());
    EXPECT_TRUE(big.bytes.empty());
    EXPECT_NE(big.error.find("1FF"), std::string::npos);
    // A long number is refused, not wrapped round; leading zeros are no number's size.
    EXPECT_FALSE(parseReportText("100000000000000000000000000000000", 100).ok());
    EXPECT_TRUE(parseReportText("000000000000000000000000000000000F", 100).ok());

    std::string tokens;
    for (int i = 0; i < 100; ++i)
        tokens += "01 ";
    EXPECT_FALSE(parseReportText(tokens, 100).ok()) << "the trailing blank is token 101";
    tokens.pop_back();
    EXPECT_TRUE(parseReportText(tokens, 100).ok());
}

TEST(ReportText, WritesEveryByteAsTwoDigitsAndABlank) {
    EXPECT_EQ(hexByteText(0x0A), "0A");
    EXPECT_EQ(hexByteText(0xFF), "FF");
    const Bytes bytes{0xF9, 0x00, 0x08};
    EXPECT_EQ(reportText(bytes), "F9 00 08 ");
}

} // namespace
} // namespace orvane::report
