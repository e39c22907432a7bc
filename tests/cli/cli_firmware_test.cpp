#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "cli_run.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

// An Intel HEX file that fills the whole application area 0x2000-0x5FFF.
std::string applicationHex(unsigned seed) {
    std::mt19937 random(seed);
    std::string hex;
    char line[64];
    for (unsigned address = 0x2000; address < 0x6000; address += 16) {
        unsigned sum = 16 + (address >> 8) + (address & 0xFF);
        std::snprintf(line, sizeof line, ":10%04X00", address);
        hex += line;
        for (int i = 0; i < 16; ++i) {
            const unsigned b = random() & 0xFF;
            sum += b;
            std::snprintf(line, sizeof line, "%02X", b);
            hex += line;
        }
        std::snprintf(line, sizeof line, "%02X\r\n", (0x100 - (sum & 0xFF)) & 0xFF);
        hex += line;
    }
    return hex + ":00000001FF\r\n";
}

struct CliFirmware : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("orvane-cli-fw-" + std::to_string(getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    }
};

TEST_F(CliFirmware, CheckAndEncryptTouchNoDeviceAndRoundTrip) {
    const std::string hex = write("fw.hex", applicationHex(1));
    const CliRun check = runCli({"firmware", "check", hex}, "");
    EXPECT_EQ(check.exitCode, 0) << check.err;
    EXPECT_NE(check.out.find("1024 lines"), std::string::npos) << check.out;

    const std::string enc = (dir / "fw.enc").string();
    EXPECT_EQ(runCli({"firmware", "encrypt", hex, "-o", enc}, "").exitCode, 0);
    const CliRun checkEnc = runCli({"firmware", "check", enc, "--verbose"}, "");
    EXPECT_EQ(checkEnc.exitCode, 0) << checkEnc.err;
    EXPECT_NE(checkEnc.out.find("enciphered"), std::string::npos);

    // One flipped bit: refused as a bad file.
    std::string bytes;
    {
        std::ifstream in(enc, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x10);
    EXPECT_EQ(runCli({"firmware", "check", write("bad.enc", bytes)}, "").exitCode, 7);
}

TEST_F(CliFirmware, FlashWritesAndVerifiesAFileWithAByteOrderMarkAndAComment) {
    const std::string hex =
        write("fw.hex", "\xEF\xBB\xBF; made by the build: 7\r\n" + applicationHex(2));
    const CliRun check = runCli({"firmware", "check", hex, "--json"}, "");
    EXPECT_EQ(check.exitCode, 0) << check.err;
    EXPECT_EQ(check.out, "{\"file\": \"" + hex +
                             "\", \"enciphered\": false, \"records\": 1025, \"lines\": 1024, "
                             "\"ranges\": [{\"first\": \"0x2000\", \"last\": \"0x5FFF\"}], "
                             "\"bytesLeftOut\": 0}\n");
    const CliRun run = runCli({"firmware", "flash", hex, "--wait", "2"}, "loader");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("verified"), std::string::npos) << run.out;
}

// Probe and start are exchanges 1 and 2, the erase 3 to 258, Program writes and reads
// back 259 to 2306, Verify 2307 to 3330: the reset is the 3331st.
TEST_F(CliFirmware, ARestartThatCannotBeSentIsNoSuccessALostAnswerToItIs) {
    const std::string hex = write("fw.hex", applicationHex(6));
    for (const char* fault : {"write_fail", "write_short"}) {
        const CliRun run = runCli({"firmware", "flash", hex, "--wait", "2"},
                                  std::string("loader:latency_ms=0.2:") + fault + "=3331");
        EXPECT_EQ(run.exitCode, 5) << fault;
        EXPECT_EQ(run.out.find("restarts"), std::string::npos) << run.out;
        EXPECT_EQ(run.err.rfind("Firmware written and verified, but the restart command could "
                                "not be sent (",
                                0),
                  0u)
            << run.err;
    }
    const CliRun lost =
        runCli({"firmware", "flash", hex, "--wait", "2"}, "loader:latency_ms=0.2:drop_once=3331");
    EXPECT_EQ(lost.exitCode, 0) << lost.err;
    EXPECT_EQ(lost.err, "");
    EXPECT_EQ(lost.out.find("Read failed"), std::string::npos) << lost.out;
    EXPECT_NE(lost.out.find("Firmware written and verified; the interface restarts.\n"),
              std::string::npos);
}

TEST_F(CliFirmware, FlashFailuresHaveTheirExitCodesAndNeverClaimSuccess) {
    const std::string hex = write("fw.hex", applicationHex(3));
    // The 600th answer is lost in the middle of Program.
    const CliRun lost = runCli({"firmware", "flash", hex, "--wait", "1"}, "loader:drop=600");
    EXPECT_EQ(lost.exitCode, 5);
    EXPECT_EQ(lost.out.find("verified"), std::string::npos);
    // Once, with the address as a number, not as the boot loader's byte text, and what the
    // flash may hold.
    EXPECT_EQ(lost.err, "Program failed at address 0x2AA0: no answer came within 100 ms. The "
                        "application area may be partly programmed: the interface stays in its "
                        "boot loader; run orvane-cli firmware flash again, it erases, programs "
                        "and verifies from the start.\n");
    for (const char* told : {"stopped", "Read failed", "rdresult", "0xA0 2A"})
        EXPECT_EQ(lost.out.find(told), std::string::npos) << told << ": " << lost.out;
    // An erase failure names its block's start.
    const CliRun erase = runCli({"firmware", "flash", hex, "--wait", "1"}, "loader:drop=150");
    EXPECT_EQ(erase.exitCode, 5);
    EXPECT_EQ(erase.err.rfind("Erase failed at address 0x44C0 (the block there): no answer came "
                              "within 100 ms. The application area may be partly erased: ",
                              0),
              0u)
        << erase.err;

    // A broken checksum is refused before any device is looked for: with no device at all
    // the exit code would otherwise say "no device".
    std::string broken = applicationHex(4);
    broken[broken.find("\r\n") - 1] ^= 0x01;
    EXPECT_EQ(runCli({"firmware", "flash", write("broken.hex", broken)}, "").exitCode, 7);

    const CliRun normal = runCli({"firmware", "flash", hex, "--wait", "0"}, "interface");
    EXPECT_EQ(normal.exitCode, 3);
    EXPECT_EQ(normal.err, "No boot loader found: the interface is in normal mode; switch it into "
                          "its boot loader with orvane-cli config bootloader, then run firmware "
                          "flash again.\n");
    EXPECT_EQ(runCli({"firmware", "flash", hex, "--wait", "0"}, "").err, "No boot loader found.\n");
    // While waiting the normal mode is told once, and not again at the end.
    const CliRun waited = runCli({"firmware", "flash", hex, "--wait", "1"}, "interface");
    EXPECT_EQ(waited.exitCode, 3);
    EXPECT_EQ(waited.out, "Waiting for the boot loader (up to 1 s)...\nThe interface is in normal "
                          "mode; orvane-cli config bootloader switches it into its boot loader.\n");
    EXPECT_EQ(waited.err, "No boot loader found within 1 s.\n");
}

TEST_F(CliFirmware, BareAnswersALostOneInProgramThenASecondUpdateWritesTheFile) {
    // Answers that carry only the probe's version and the read data; the flash is kept in
    // the state file from one run to the next.
    const std::string hex = write("fw.hex", applicationHex(5));
    const std::string state = (dir / "emulator.state").string();
    // Probe and start are answers 1 and 2, the erase 3 to 258: 600 lies in Program, in the
    // read-back of line 170.
    const CliRun lost = runCli({"firmware", "flash", hex, "--wait", "2"},
                               "loader:bare_answers=1:drop_once=600", state);
    EXPECT_EQ(lost.exitCode, 5);
    EXPECT_EQ(lost.err.rfind("Program failed at address 0x2AA0: no answer came", 0), 0u)
        << lost.err;

    const CliRun second = runCli({"--verbose", "firmware", "flash", hex, "--wait", "2"},
                                 "loader:bare_answers=1", state);
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.out.find("verified"), std::string::npos);
    // --verbose shows every exchange: the request before the link cipher, the answer after.
    EXPECT_NE(second.out.find("tx: F9 03 01 0F 20 00 00 "), std::string::npos);
    EXPECT_NE(second.out.find("rx: F9 00 00 00 00 00 00 "), std::string::npos);
    EXPECT_NE(second.out.find("tx: F9 01 10 F0 5F 00 00 "), std::string::npos);
    EXPECT_EQ(second.out.find("stopped"), std::string::npos);
}

} // namespace
} // namespace orvane::test
