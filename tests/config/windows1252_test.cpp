#include <gtest/gtest.h>

#include "config/core/windows1252.h"

namespace orvane::config {
namespace {

TEST(Windows1252, DecodesLatinAndTheHighBlock) {
    EXPECT_EQ(windows1252ToUtf8("Gr\xFC\xDF"
                                "e \xC4\xD6\xDC"),
              "Grüße ÄÖÜ");
    EXPECT_EQ(windows1252ToUtf8("\x80 \x84\x93\x94 \x8A\x9F"), "€ „“” ŠŸ");
    EXPECT_EQ(windows1252ToUtf8("plain"), "plain");
}

TEST(Windows1252, EncodesWhatTheCodePageHoldsAndQuestionMarksTheRest) {
    EXPECT_EQ(utf8ToWindows1252("Grüße €"), "Gr\xFC\xDF"
                                            "e \x80");
    EXPECT_EQ(utf8ToWindows1252("ŠŸ"), "\x8A\x9F");
    EXPECT_EQ(utf8ToWindows1252("日本 Ω 😀"), "?? ? ?");
    EXPECT_EQ(utf8ToWindows1252("a\xFF"
                                "b"),
              "a?b");                          // malformed UTF-8
    EXPECT_EQ(utf8ToWindows1252("\xC3"), "?"); // cut sequence
}

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
}

} // namespace
} // namespace orvane::config
