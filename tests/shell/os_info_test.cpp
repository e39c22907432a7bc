#include <gtest/gtest.h>

#include "shell/os_info_linux.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

TEST(OsRelease, PrettyNameWithQuotesAndEscapes) {
    EXPECT_EQ(osReleasePrettyName("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                                  "(bookworm)\"\nID=debian\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(osReleasePrettyName("PRETTY_NAME='Single'"), "Single");
    EXPECT_EQ(osReleasePrettyName("PRETTY_NAME=Bare\r\n"), "Bare");
    EXPECT_EQ(osReleasePrettyName("PRETTY_NAME=\"say \\\"hi\\\"\""), "say \"hi\"");
    EXPECT_EQ(osReleasePrettyName("NAME=x\n# PRETTY_NAME=no\n"), "");
}

TEST(LinuxOsInfo, NamesTheSystemFromOsReleaseAndIsNoWindows) {
    TemporaryFolder temp;
    const auto file = temp.path() / "os-release";
    { std::ofstream(file) << "ID=test\nPRETTY_NAME=\"Test Linux 1\"\n"; }
    const LinuxOsInfo info({temp.path() / "missing", file});
    EXPECT_EQ(info.versionName(), "Test Linux 1");
    EXPECT_FALSE(info.isLegacyWindows());
    EXPECT_FALSE(isLegacyWindows(info.versionRecord()));
    EXPECT_EQ(info.versionRecord().platformId, kOtherPlatformId);
}

TEST(LinuxOsInfo, WithoutOsReleaseTheKernelNamesTheSystem) {
    const LinuxOsInfo info(std::vector<std::filesystem::path>{"/nonexistent/os-release"});
    EXPECT_TRUE(info.versionName().starts_with("Linux "));
}

} // namespace
} // namespace orvane::test
