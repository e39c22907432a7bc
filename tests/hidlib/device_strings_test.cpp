#include "device_strings.h"

#include <gtest/gtest.h>

#include <array>

using tavrel::DeviceFilter;
using tavrel::DeviceIdentity;
using tavrel::shortenDeviceString;

TEST(ShortenDeviceString, StopsAtFirstCharacterThatIsNoAsciiLetterOrDigit) {
    EXPECT_EQ(shortenDeviceString(u"RC USB"), "RC");
    EXPECT_EQ(shortenDeviceString(u"Tx2-Pro"), "Tx2");
    EXPECT_EQ(shortenDeviceString(u" leading"), "");
    EXPECT_EQ(shortenDeviceString(u"_x"), "");
    EXPECT_EQ(shortenDeviceString(u""), "");
    EXPECT_EQ(shortenDeviceString(u"abcXYZ019"), "abcXYZ019");
}

TEST(ShortenDeviceString, KeepsOnlyTheLowByteOfEachUnit) {
    // U+0141 has low byte 0x41 ('A') and is kept as 'A'; U+0100 has low byte 0 and ends it.
    EXPECT_EQ(shortenDeviceString(u"\u0141B"), "AB");
    EXPECT_EQ(shortenDeviceString(u"AB\u0100CD"), "AB");
    // 'é' (0xE9) is no ASCII letter.
    EXPECT_EQ(shortenDeviceString(u"Caf\u00e9"), "Caf");
}

TEST(ShortenDeviceString, CutsAfterTheMaximumLength) {
    const std::u16string longText(80, u'x');
    EXPECT_EQ(shortenDeviceString(longText), std::string(49, 'x'));
    EXPECT_EQ(shortenDeviceString(longText, 19), std::string(19, 'x'));
}

TEST(CopyText, AlwaysTerminatesInsideTheBuffer) {
    std::array<char, 5> buffer{'#', '#', '#', '#', '#'};
    tavrel::copyText("abcdefgh", buffer);
    EXPECT_STREQ(buffer.data(), "abcd");
    tavrel::copyText("", buffer);
    EXPECT_STREQ(buffer.data(), "");
    tavrel::copyText("abc", std::span<char>()); // no room at all: nothing happens
}

namespace {

DeviceIdentity rcInterface() {
    return DeviceIdentity{0x537F, 0x6425, "RC", "Maker", "SN1"};
}

} // namespace

TEST(DeviceFilter, IdsOf0xFFFFOrMoreMatchAnyDevice) {
    for (uint32_t any : {0xFFFFu, 0x10000u, 0xFFFFFFFFu}) {
        DeviceFilter filter;
        filter.vendorId = any;
        filter.productId = any;
        EXPECT_TRUE(filter.matches(rcInterface())) << any;
    }
    DeviceFilter exact;
    exact.vendorId = 0x537F;
    exact.productId = 0x6425;
    EXPECT_TRUE(exact.matches(rcInterface()));
    exact.productId = 0x6426;
    EXPECT_FALSE(exact.matches(rcInterface()));
    exact.productId = 0xFFFF;
    exact.vendorId = 0x537E;
    EXPECT_FALSE(exact.matches(rcInterface()));
}

TEST(DeviceFilter, TextsMatchExactlyAndAbsentTextsMatchAll) {
    DeviceFilter filter;
    filter.product = "RC";
    filter.manufacturer = "Maker";
    filter.serialNumber = "SN1";
    EXPECT_TRUE(filter.matches(rcInterface()));

    filter.product = "RC USB"; // the full string never matches its shortened form
    EXPECT_FALSE(filter.matches(rcInterface()));
    filter.product = "rc"; // case counts
    EXPECT_FALSE(filter.matches(rcInterface()));
    filter.product = std::nullopt;
    filter.manufacturer = "Make";
    EXPECT_FALSE(filter.matches(rcInterface()));
    filter.manufacturer = std::nullopt;
    filter.serialNumber = "SN10";
    EXPECT_FALSE(filter.matches(rcInterface()));
}

TEST(DeviceFilter, EmptyTextMatchesOnlyAnEmptyString) {
    DeviceFilter filter;
    filter.serialNumber = "";
    EXPECT_FALSE(filter.matches(rcInterface()));
    DeviceIdentity noSerial = rcInterface();
    noSerial.serialNumber.clear();
    EXPECT_TRUE(filter.matches(noSerial));
}
