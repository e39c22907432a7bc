#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_run.h"
#include "config/core/settings_file.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct CliConfig : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("orvane-cli-config-" + std::to_string(getpid()));
    std::string state = (dir / "emulator.state").string();
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    CliRun cli(const std::vector<std::string>& args, const std::string& bus = "interface") {
        return runCli(args, bus, state);
    }
};

TEST_F(CliConfig, AStoredFileSurvivesAReplugAndReadsBackByteForByte) {
    const auto a = (dir / "a.orv").string();
    ASSERT_EQ(cli({"config", "read", "-o", a}).exitCode, 0);
    const std::string original = slurp(a);
    // 200 lines ending in CR LF, and what the dialog's reader and writer make of it again.
    EXPECT_EQ(std::count(original.begin(), original.end(), '\n'), 200);
    const auto load = config::readSettingsFile(original, config::Configuration{}, "");
    ASSERT_FALSE(load.failureMessage);
    EXPECT_EQ(config::writeSettingsFile(load.items, ""), original);

    // Edit two items: axis 1 on channel 5, button 1's trigger level at 0x42.
    config::Configuration edited = load.items;
    edited.axisChannel[0] = 5;
    edited.buttonThreshold[0] = 0x42;
    const auto b = (dir / "b.orv").string();
    std::ofstream(b, std::ios::binary) << config::writeSettingsFile(edited, "");
    const CliRun write = cli({"config", "write", b, "--store"});
    EXPECT_EQ(write.exitCode, 0) << write.err;

    // Each run is a new process: the emulated interface comes back from its state file, as
    // a device that stayed attached between two runs of the program.
    const auto c = (dir / "c.orv").string();
    ASSERT_EQ(cli({"config", "read", "-o", c}).exitCode, 0);
    EXPECT_EQ(slurp(c), slurp(b));
}

TEST_F(CliConfig, NothingIsWrittenOrReportedDoneWhenAnswersAreMissing) {
    const auto a = (dir / "a.orv").string();
    const CliRun silent = cli({"config", "read", "-o", a}, "interface:silent=1");
    EXPECT_EQ(silent.exitCode, 5);
    EXPECT_FALSE(fs::exists(a));
    const CliRun lossy = cli({"config", "read", "-o", a}, "interface:drop=7");
    EXPECT_EQ(lossy.exitCode, 5);
    EXPECT_FALSE(fs::exists(a));

    std::ofstream((dir / "bad.orv").string()) << "not a settings file\r\n";
    EXPECT_EQ(cli({"config", "write", (dir / "bad.orv").string()}).exitCode, 7);
    EXPECT_EQ(cli({"config", "read"}, "").exitCode, 3);
}

} // namespace
} // namespace orvane::test
