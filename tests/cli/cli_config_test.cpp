#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli_run.h"
#include "common/temporary_folder.h"
#include "config/core/settings_file.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

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
    const std::string original = readFile(a);
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
    EXPECT_EQ(readFile(c), readFile(b));
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

TEST_F(CliConfig, FilesThatAreNoSettingsFileOrHoldValuesTheInterfaceCannotTakeAreRefused) {
    const auto hex = (dir / "fw.hex").string();
    std::ofstream(hex) << ":100000000C9434000C9446000C9446000C9446006A\n:00000001FF\n";
    const CliRun notSettings = cli({"config", "write", hex});
    EXPECT_EQ(notSettings.exitCode, 7);
    EXPECT_EQ(notSettings.err, hex + " is not a settings file: it does not begin with \"Orvane "
                                     "settings file version:\".\n");

    config::Configuration c;
    c.mixers[config::MixerField::Factor][2] = 300;
    const auto wide = (dir / "wide.orv").string();
    std::ofstream(wide, std::ios::binary) << config::writeSettingsFile(c, "");
    const CliRun refused = cli({"config", "write", wide, "--verbose"});
    EXPECT_EQ(refused.exitCode, 7);
    EXPECT_EQ(refused.err, wide + " holds values the interface cannot take: mixer 3 factor 300; "
                                  "nothing was sent.\n");
    EXPECT_EQ(refused.out, "") << "no exchange";
}

TEST_F(CliConfig, AnswersWithValuesTheInterfaceCannotHoldWriteNoFileAndAreNamed) {
    const auto a = (dir / "a.orv").string();
    const CliRun odd = cli({"config", "read", "-o", a}, "interface:odd_values=1");
    EXPECT_EQ(odd.exitCode, 1);
    EXPECT_FALSE(fs::exists(a));
    EXPECT_NE(odd.err.find("answer 10 (axis 1 channel 0), answer 1D (decoding mode 2)"),
              std::string::npos)
        << odd.err;
}

TEST_F(CliConfig, AWriteThatFailsHalfwayIsToldAsSuchNotAsADeviceThatLeft) {
    const auto a = (dir / "a.orv").string();
    ASSERT_EQ(cli({"config", "read", "-o", a}).exitCode, 0);
    const CliRun failed = cli({"config", "write", a}, "interface:write_fail=30");
    EXPECT_EQ(failed.exitCode, 5);
    EXPECT_EQ(failed.err, "The transmission did not fully happen: 1 of 54 commands failed (1 not "
                          "written). Until it is reconnected, the interface may run a mix of old "
                          "and new values; its stored configuration is untouched.\n");
}

TEST_F(CliConfig, BootloaderStoresTheSwitchAndTheInterfaceComesBackAsItsBootLoader) {
    const CliRun on = cli({"config", "bootloader", "--verbose"});
    EXPECT_EQ(on.exitCode, 0) << on.err;
    EXPECT_NE(on.out.find("PUT: F9 00 08 15 EE 07 FF FF"), std::string::npos);
    EXPECT_NE(on.out.find("PUT: F9 00 08 15 EE FF 01 00"), std::string::npos);
    const CliRun listed = cli({"list"});
    EXPECT_NE(listed.out.find("boot loader"), std::string::npos) << listed.out;
    EXPECT_EQ(cli({"config", "bootloader", "extra"}).exitCode, 2);
}

// Firmware 1.1 has no mixers and no decoding mode, 1.2 no decoding mode: what it refuses of
// them is no failure.
TEST_F(CliConfig, OlderFirmwareReadsWritesAndStoresWhatItHas) {
    for (const std::string version : {"1.1", "1.2"}) {
        const std::string bus = "interface:fw=" + version + ".0";
        const auto a = (dir / ("fw" + version + ".orv")).string();
        const CliRun read = cli({"config", "read", "-o", a}, bus);
        EXPECT_EQ(read.exitCode, 0) << read.err;
        const CliRun write = cli({"config", "write", a, "--store"}, bus);
        EXPECT_EQ(write.exitCode, 0) << write.err;
        EXPECT_NE(write.out.find("not supported by firmware " + version), std::string::npos)
            << write.out;
    }
}

TEST_F(CliConfig, AFailedCheckSaysTheTransmissionWentThroughAndNothingWasStored) {
    const auto a = (dir / "a.orv").string();
    ASSERT_EQ(cli({"config", "read", "-o", a}).exitCode, 0);
    // Each run is a new device: the transmission takes 54 answers, the 60th is the check's 6th.
    const CliRun failed = cli({"config", "write", a, "--store"}, "interface:drop_once=60");
    EXPECT_EQ(failed.exitCode, 5);
    EXPECT_EQ(failed.err, "Configuration transmitted to the interface: all 54 commands answered "
                          "(not stored yet). The check by reading it back failed: the read did "
                          "not fully happen: 1 of 20 commands failed (1 not answered). Nothing "
                          "was stored: the interface runs the transmitted values until it is "
                          "reconnected; its stored configuration is unchanged.\n");
}

// Storing the switch restarts the interface at once; a lost answer to the store is said to
// be just that.
TEST_F(CliConfig, ABootloaderStoreWhoseAnswerIsLostSaysItMayHaveHappened) {
    const CliRun on = cli({"config", "bootloader"}, "interface:drop_once=3");
    EXPECT_EQ(on.exitCode, 5);
    EXPECT_NE(on.err.find("the interface may or may not have stored its configuration. If it "
                          "stored the boot-loader switch, the interface restarts as its boot "
                          "loader"),
              std::string::npos)
        << on.err;
    EXPECT_NE(cli({"list"}).out.find("boot loader"), std::string::npos);
}

} // namespace
} // namespace orvane::test
