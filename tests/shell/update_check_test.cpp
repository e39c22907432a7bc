#include <gtest/gtest.h>

#include <array>

#include "shell/device_table.h"
#include "shell/update_check.h"
#include "ui/fake_app_services.h"
#include "ui/fake_core_ui_services.h"

namespace orvane::test {
namespace {

constexpr const char* kBase =
    "https://update.orvane.org/cgi-bin/versioncheck.pl?lang=de&verOrvane=2.3.55";

DeviceRow row(std::string vid, std::string pid) {
    DeviceRow r;
    r.vendorId = std::move(vid);
    r.productId = std::move(pid);
    return r;
}

TEST(UpdateAddress, WithoutSelectionTheDevicePartIsLeftOut) {
    EXPECT_EQ(updateQueryAddress("de", nullptr, {}), std::string(kBase) + "&verUSB-Vexa=0.0.0");
}

TEST(UpdateAddress, ListedIdsCarryTheirBlankEncoded) {
    const DeviceRow listed = row(" 21375", " 25637");
    EXPECT_EQ(updateQueryAddress("de", &listed, {1, 2, 3}),
              std::string(kBase) + "&VID=%2021375&PID=%2025637&verUSB-Vexa=1.2.3");
    const DeviceRow known = row("21375", "25611");
    EXPECT_EQ(updateQueryAddress("en", &known, {}),
              "https://update.orvane.org/cgi-bin/versioncheck.pl?lang=en&verOrvane=2.3.55"
              "&VID=21375&PID=25611&verUSB-Vexa=0.0.0");
}

TEST(UpdateAddress, QueryTextsAreEncoded) {
    EXPECT_EQ(queryEncoded(" 1"), "%201");
    EXPECT_EQ(queryEncoded("a&b=c"), "a%26b%3Dc");
    EXPECT_EQ(queryEncoded("AZaz09-._~"), "AZaz09-._~");
}

TEST(UpdateCheck, HintWithoutFirmwareVersionThenTheAddressGoesOut) {
    FakeCoreUiServices ui;
    FakeUrlOpener opener;
    runUpdateCheck({"en", "Open USB-Interface first", nullptr, {0, 0, 7}}, ui, opener);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Open USB-Interface first");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    ASSERT_EQ(opener.urls.size(), 1u);
    EXPECT_TRUE(opener.urls[0].ends_with("&verUSB-Vexa=0.0.7"));
}

TEST(UpdateCheck, NoHintOnceAVersionWasRead) {
    FakeCoreUiServices ui;
    FakeUrlOpener opener;
    runUpdateCheck({"en", "hint", nullptr, {0, 1, 0}}, ui, opener);
    runUpdateCheck({"en", "hint", nullptr, {1, 0, 0}}, ui, opener);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(opener.urls.size(), 2u);
}

// Without a browser the address is shown to be copied, in the language of the captions;
// an opener that throws is a desktop that failed too.
TEST(UpdateCheck, AFailingDesktopShowsTheAddressToCopy) {
    struct Throwing : UrlOpener {
        bool openUrl(std::string_view) override { throw std::runtime_error("no desktop"); }
    } throwing;
    FakeUrlOpener refusing;
    refusing.answer = false;
    const std::string address = updateQueryAddress("de", nullptr, {1, 2, 3});
    for (UrlOpener* opener : std::array<UrlOpener*, 2>{&throwing, &refusing}) {
        FakeCoreUiServices ui;
        EXPECT_NO_THROW(runUpdateCheck({"de", "hint", nullptr, {1, 2, 3}, 0}, ui, *opener));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(ui.messages[0].text.ends_with("\r\n\r\n" + address));
        EXPECT_NE(ui.messages[0].text.find("Webbrowser"), std::string::npos);
    }
}

} // namespace
} // namespace orvane::test
