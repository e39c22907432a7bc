#include <gtest/gtest.h>

#include <map>

#include "shell/app_context.h"
#include "shell/localization.h"
#include "ui/fake_app_services.h"

namespace orvane::test {
namespace {

TEST(IsGermanSystem, OnlyCountryCode49IsGerman) {
    EXPECT_TRUE(isGermanSystem(FakeSystemLocale("49")));
    EXPECT_FALSE(isGermanSystem(FakeSystemLocale("43"))); // Austria
    EXPECT_FALSE(isGermanSystem(FakeSystemLocale("41"))); // Switzerland
    EXPECT_FALSE(isGermanSystem(FakeSystemLocale("1")));
    EXPECT_FALSE(isGermanSystem(FakeSystemLocale(""))); // failed query
    EXPECT_FALSE(isGermanSystem(FakeSystemLocale("49x")));
    EXPECT_FALSE(isGermanSystem(FakeSystemLocale("490")));
}

TEST(StartupLanguage, OffsetAndCodeFollowTheDecision) {
    const Language german = startupLanguage(FakeSystemLocale("49"));
    EXPECT_EQ(german.offset, 0);
    EXPECT_EQ(german.code, "de");
    const Language english = startupLanguage(FakeSystemLocale("43"));
    EXPECT_EQ(english.offset, 1000);
    EXPECT_EQ(english.code, "en");
}

class EnvLocaleTest : public ::testing::Test {
protected:
    std::map<std::string, std::string> env;
    EnvironmentLocale locale{[this](const char* name) -> std::optional<std::string> {
        auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    }};
    std::string country() const { return locale.getLocaleString(kLocaleICountry); }
};

TEST_F(EnvLocaleTest, CountryCodeComesFromTheFirstLocaleVariableSet) {
    EXPECT_EQ(country(), "");
    env["LANG"] = "de_DE.UTF-8";
    EXPECT_EQ(country(), "49");
    env["LC_MESSAGES"] = "de_AT.UTF-8";
    EXPECT_EQ(country(), "43");
    env["LC_ALL"] = "";
    EXPECT_EQ(country(), "43"); // empty does not count as set
    env["LC_ALL"] = "de_CH@euro";
    EXPECT_EQ(country(), "41");
    EXPECT_EQ(locale.getLocaleString(2), ""); // other information types are unknown
}

TEST_F(EnvLocaleTest, LocalesWithoutAKnownTerritoryAreNotGerman) {
    env["LANG"] = "C.UTF-8";
    EXPECT_EQ(country(), "");
    EXPECT_FALSE(isGermanSystem(locale));
    env["LANG"] = "POSIX";
    EXPECT_FALSE(isGermanSystem(locale));
    env["LANG"] = "xx_QQ";
    EXPECT_FALSE(isGermanSystem(locale));
    env["LANG"] = "de_de";
    EXPECT_TRUE(isGermanSystem(locale));
}

TEST(LocaleNames, TerritoryAndCallingCode) {
    EXPECT_EQ(localeTerritory("en_GB.ISO-8859-1"), "GB");
    EXPECT_EQ(localeTerritory("de"), "");
    EXPECT_EQ(localeTerritory("sr_RS@latin"), "RS");
    EXPECT_EQ(countryCallingCode("DE"), 49);
    EXPECT_EQ(countryCallingCode("US"), 1);
    EXPECT_EQ(countryCallingCode(""), 0);
}

TEST(Localized, OffsetSelectsTheLanguage) {
    EXPECT_EQ(localized(2, 0), "&\xC3\x96"
                               "ffnen");
    EXPECT_EQ(localized(2, 1000), "&Open");
    EXPECT_EQ(localized(8, 1000), "Open USB-Interface first to read out the firmware version");
}

} // namespace
} // namespace orvane::test
