#include <gtest/gtest.h>

#include "config/core/text_entry.h"

namespace orvane::config {
namespace {

TEST(TextEntry, ReadsTheNumberAtTheStartInDecimalOrHex) {
    EXPECT_EQ(parseTextEntry("300"), 300);
    EXPECT_EQ(parseTextEntry("017"), 17);
    EXPECT_EQ(parseTextEntry("&H1F"), 31);
    EXPECT_EQ(parseTextEntry("&h1f"), 31);
    EXPECT_EQ(parseTextEntry("-42"), -42);
    EXPECT_EQ(parseTextEntry("+7"), 7);
    EXPECT_EQ(parseTextEntry("12abc"), 12);
    EXPECT_EQ(parseTextEntry("&H1G"), 1);
}

TEST(TextEntry, SkipsBlanksAnywhere) {
    EXPECT_EQ(parseTextEntry("  25"), 25);
    EXPECT_EQ(parseTextEntry(" 1 7 "), 17);
    EXPECT_EQ(parseTextEntry("- 5"), -5);
}

TEST(TextEntry, TextWithoutANumberReadsAsZero) {
    EXPECT_EQ(parseTextEntry(""), 0);
    EXPECT_EQ(parseTextEntry("-"), 0);
    EXPECT_EQ(parseTextEntry("abc"), 0);
    EXPECT_EQ(parseTextEntry("&H"), 0);
    EXPECT_EQ(parseTextEntry("."), 0);
}

TEST(TextEntry, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(parseTextEntry("2.5"), 2);
    EXPECT_EQ(parseTextEntry("3.5"), 4);
    EXPECT_EQ(parseTextEntry("0.5"), 0);
    EXPECT_EQ(parseTextEntry("-2.5"), -2);
    EXPECT_EQ(parseTextEntry("-3.5"), -4);
    EXPECT_EQ(parseTextEntry("2.4999"), 2);
    EXPECT_EQ(parseTextEntry("2.5000000000000000001"), 3); // beyond a double's precision
    EXPECT_EQ(parseTextEntry("2.51"), 3);
    EXPECT_EQ(parseTextEntry("7."), 7);
    EXPECT_EQ(parseTextEntry(".6"), 1);
}

TEST(TextEntry, ValuesBeyondSixteenBitsAreRefused) {
    EXPECT_EQ(parseTextEntry("32767"), 32767);
    EXPECT_EQ(parseTextEntry("-32768"), -32768);
    EXPECT_EQ(parseTextEntry("32767.5"), std::nullopt); // rounds to 32768
    EXPECT_EQ(parseTextEntry("32768"), std::nullopt);
    EXPECT_EQ(parseTextEntry("99999999999999999999999999"), std::nullopt);
    EXPECT_EQ(parseTextEntry("&HFFFFFFFFFFFFFFFFFFFF"), std::nullopt);
}

} // namespace
} // namespace orvane::config
