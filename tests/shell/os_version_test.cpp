// Names of Windows version records, and which of them count as the older systems whose
// users are not warned about the boot-loader switch.
#include <gtest/gtest.h>

#include "shell/os_version.h"

namespace orvane::test {
namespace {

OsVersionRecord record(int platformId, int major, int minor) {
    return OsVersionRecord{platformId, major, minor, 0, {}};
}

TEST(WindowsVersionName, NinetyFiveFamilyByMinorVersion) {
    EXPECT_EQ(windowsVersionName(record(1, 4, 0)), "Windows 95");
    EXPECT_EQ(windowsVersionName(record(1, 4, 10)), "Windows 98");
    EXPECT_EQ(windowsVersionName(record(1, 4, 90)), "Windows Millennium");
    EXPECT_EQ(windowsVersionName(record(1, 4, 5)), "");
}

TEST(WindowsVersionName, NtFamilyByMajorVersion) {
    EXPECT_EQ(windowsVersionName(record(2, 3, 51)), "Windows NT 3.51");
    EXPECT_EQ(windowsVersionName(record(2, 4, 0)), "Windows NT 4.0");
    EXPECT_EQ(windowsVersionName(record(2, 5, 0)), "Windows 2000");
    EXPECT_EQ(windowsVersionName(record(2, 5, 1)), "Windows XP");
    EXPECT_EQ(windowsVersionName(record(2, 5, 2)), "Windows XP");
    // Every 6.x is named after the first of them.
    EXPECT_EQ(windowsVersionName(record(2, 6, 0)), "Windows Vista");
    EXPECT_EQ(windowsVersionName(record(2, 6, 1)), "Windows Vista");
    EXPECT_EQ(windowsVersionName(record(2, 6, 2)), "Windows Vista");
    EXPECT_EQ(windowsVersionName(record(2, 10, 0)), "Windows 10");
}

TEST(WindowsVersionName, OtherPlatformsNameIdAndMajorVersion) {
    EXPECT_EQ(windowsVersionName(record(3, 10, 0)), "Windows Platform 3, v. 10");
    EXPECT_EQ(windowsVersionName(record(0, 3, 11)), "Windows Platform 0, v. 3");
    EXPECT_EQ(windowsVersionName(record(-1, 6, 1)), "Windows Platform -1, v. 6");
}

TEST(IsLegacyWindows, NinetyFiveFamilyAndNtUpToFive) {
    EXPECT_TRUE(isLegacyWindows(record(1, 4, 0)));
    EXPECT_TRUE(isLegacyWindows(record(1, 4, 10)));
    EXPECT_TRUE(isLegacyWindows(record(1, 4, 90)));
    EXPECT_FALSE(isLegacyWindows(record(1, 4, 5)));
    EXPECT_TRUE(isLegacyWindows(record(2, 3, 51)));
    EXPECT_TRUE(isLegacyWindows(record(2, 4, 0)));
    EXPECT_TRUE(isLegacyWindows(record(2, 5, 1)));
    EXPECT_FALSE(isLegacyWindows(record(2, 6, 0)));
    EXPECT_FALSE(isLegacyWindows(record(2, 10, 0)));
    EXPECT_FALSE(isLegacyWindows(record(3, 5, 0)));
}

} // namespace
} // namespace orvane::test
