// orvane-cli in-process against a library that plays a hostile device (reads that return 0
// or a negative count with bytes left in the buffer, report lengths of 0 or below) and the
// usage cases that touch no device: each with its exit code and its one sentence.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "program_version.h"
#include "report/clock.h"
#include "report/report_port.h"
#include "ui/fake_tavrel_api.h"

namespace orvane::test {
namespace {

struct HostilePort final : report::ReportPort {
    int readResult = 0;
    int write(std::span<const uint8_t, report::kReportBufferSize>) override { return 8; }
    int read(std::span<uint8_t, report::kReportBufferSize> r) override {
        std::ranges::fill(r, uint8_t{0xF9});
        return std::min(readResult, 0); // nothing queued before the request
    }
    int readFor(std::span<uint8_t, report::kReportBufferSize> r,
                std::chrono::milliseconds) override {
        std::ranges::fill(r, uint8_t{0xF9}); // looks like an answer, whatever is returned
        return readResult;
    }
};

struct CliMessages : ::testing::Test {
    FakeTavrelApi tavrel;
    HostilePort port;
    report::SteadyClock clock;
    std::ostringstream out, err;

    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        cli::CliServices services{tavrel, port, clock, out, err, false};
        return cli::runCli(args, services);
    }
    void addInterface(int inputLength, int outputLength) {
        tavrel.devices.push_back(
            {0x537F, 0x6425, "ZT2960", "Tavrel", "0001", inputLength, outputLength});
    }
};

TEST_F(CliMessages, SendExitsFiveWhenNoReadReturnedAReport) {
    addInterface(18, 8);
    const std::vector<std::string> version{"send", "F9", "00 08 15 EE 1C 00 00"};
    for (const int result : {0, -1}) {
        port.readResult = result;
        EXPECT_EQ(run(version), 5) << result;
        EXPECT_EQ(err.str(), "No answer came back (no report with report id F9).\n");
        EXPECT_NE(out.str().find("rx: (no report came)"), std::string::npos) << out.str();
        EXPECT_EQ(out.str().find("rx: F9"), std::string::npos) << out.str();
    }
    tavrel.devices[0].inputReportLen = 0;
    port.readResult = 18;
    EXPECT_EQ(run(version), 5);
    EXPECT_EQ(err.str(), "No answer can come back: the device's input reports are 0 bytes long.\n");
}

TEST_F(CliMessages, NegativeReportLengthsAreCalledWhatTheyAre) {
    addInterface(-1, 8);
    EXPECT_EQ(run({"send", "F9", "00"}), 1);
    EXPECT_EQ(err.str(), "The device's report lengths (input -1, output 8 bytes) are negative, "
                         "so the library could not tell them.\n");
}

TEST_F(CliMessages, WordsThatAreNotHexadecimalAreRefusedBeforeAnythingIsSent) {
    addInterface(18, 8);
    EXPECT_EQ(run({"send", "F9", "hello world"}), 2);
    EXPECT_EQ(err.str(), "Data: Byte 1 \"hello\" is not hexadecimal.\n");
    EXPECT_EQ(run({"send", "F9x", "00"}), 2);
    EXPECT_EQ(err.str(), "Report id: Byte 1 \"F9x\" is not hexadecimal.\n");
    EXPECT_TRUE(tavrel.calls.empty()); // no device was even looked for
}

TEST_F(CliMessages, VersionIsPrintedWithoutACommand) {
    for (const auto& args : {std::vector<std::string>{"--version"},
                             std::vector<std::string>{"--verbose", "--version"}}) {
        EXPECT_EQ(run(args), 0);
        EXPECT_EQ(out.str(), std::string("orvane-cli ") + kVersionText + "\n");
        EXPECT_EQ(err.str(), "");
    }
}

TEST_F(CliMessages, MissingArgumentsShowTheCommandsUsageAndHelpNamesACommand) {
    addInterface(18, 8);
    EXPECT_EQ(run({"config", "write"}), 2);
    EXPECT_EQ(err.str().rfind("config write needs the settings file to transmit.\n\nusage: "
                              "orvane-cli config read",
                              0),
              0u)
        << err.str();
    // A report id alone would go out as zeros.
    for (const auto& words :
         {std::vector<std::string>{"send", "F9"}, std::vector<std::string>{"send", "F9", " "}}) {
        EXPECT_EQ(run(words), 2);
        EXPECT_EQ(err.str().rfind("send needs the data bytes after the report id.\n\nusage: "
                                  "orvane-cli send",
                                  0),
                  0u)
            << err.str();
    }
    EXPECT_TRUE(tavrel.calls.empty());
    for (const std::string command : {"config", "firmware", "send", "list"}) {
        ASSERT_EQ(run({command, "--help"}), 0);
        const std::string help = out.str();
        EXPECT_EQ(run({"help", command}), 0);
        EXPECT_EQ(out.str(), help) << command;
    }
}

TEST_F(CliMessages, NoInterfaceFoundSaysWhatToCheck) {
    EXPECT_EQ(run({"config", "read"}), 3);
    for (const char* named : {"cable", "orvane-cli list", "udev", "boot loader"})
        EXPECT_NE(err.str().find(named), std::string::npos) << named << ": " << err.str();
    tavrel.devices.push_back({0x5381, 0x640B, "Loader", "Tavrel", "0042", 22, 22});
    EXPECT_EQ(run({"config", "read"}), 3);
    EXPECT_EQ(err.str(), "No R/C USB interface found. A boot loader is connected (serial 0042): "
                         "the interface waits for a firmware update; run orvane-cli firmware "
                         "flash FILE.\n");
}

TEST_F(CliMessages, FileThatIsNoHexFileIsToldSo) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("orvane-cli-messages-" + std::to_string(getpid()) + ".orv");
    std::ofstream(path) << "Orvane settings file version:|2.3.55\r\n";
    EXPECT_EQ(run({"firmware", "check", path.string()}), 7);
    EXPECT_EQ(err.str(), path.string() + " is not an Intel HEX file, nor a firmware file "
                                         "enciphered by this program.\n");
    std::filesystem::remove(path);
}

} // namespace
} // namespace orvane::test
