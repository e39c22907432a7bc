// orvane-cli monitor against the emulated interface with a known signal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "cli_run.h"

namespace orvane::test {
namespace {

// Every axis alternates by its own amount; a 100 ms gap follows each second after plug-in.
constexpr const char* kKnownSignal =
    "interface:channels=100/100/100/100/100/100/200/255:noise=3/0/5/7/1/2/1000/10:"
    "gap_every_ms=1000:gap_ms=100";

// Runs a python check (no single quotes) on the JSON text; its message lands in the test's
// output.
int checkJson(const std::string& json, const std::string& check) {
    FILE* p =
        popen(("python3 -c 'import json,sys; d=json.load(sys.stdin)\n" + check + "'").c_str(), "w");
    if (!p) return -1;
    std::fputs(json.c_str(), p);
    return pclose(p);
}

TEST(CliMonitor, JsonGivesTheKnownSignalsFiguresAndTheGaps) {
    const auto csv = std::filesystem::temp_directory_path() /
                     ("orvane-monitor-" + std::to_string(getpid()) + ".csv");
    const CliRun run =
        runCli({"monitor", "--seconds", "3.5", "--json", "--csv", csv.string()}, kKnownSignal);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // One CSV line per report, after the header.
    std::ifstream in(csv);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "time_ms,axis1,axis2,axis3,axis4,axis5,axis6,axis7,axis8,button1,button2,"
                      "button3,button4,button5,button6,button7,button8");
    const long lines =
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n');
    std::filesystem::remove(csv);

    // Axis k alternates between its base and base + noise (Di, at the top, goes down). Each
    // gap begins 1000 k ms after plug-in, a little before the monitor's start; a busy machine
    // may add a stall of its own, but never takes a gap away.
    const std::string check = "lines = " + std::to_string(lines) + R"(
base = [25700] * 6 + [51400, 65525]
noise = [3, 0, 5, 7, 1, 2, 1000, 10]
assert d["reports"] == lines and 300 <= lines <= 330, (d["reports"], lines)
for k in (1, 2, 3):
    assert any(1000 * k - 500 <= x["at_ms"] <= 1000 * k and x["length_ms"] >= 100
               for x in d["dropout_list"]), (k, d["dropout_list"])
assert d["dropouts"] >= 3
i = d["intervals_ms"]
assert i["min"] <= i["median"] <= i["max"] and i["max"] >= 100, i
assert d["repeats"] == 0 and abs(d["rate_hz"] - 90) < 10, d
for c, b, n in zip(d["channels"], base, noise):
    assert (c["min"], c["max"], c["ptp_1s"]) == (b, b + n, n), c
    assert abs(c["std"] - n / 2) <= n * 0.02 and b <= c["mean"] <= b + n, c
assert [c["axis"] for c in d["channels"]] == list(range(1, 9))
)";
    EXPECT_EQ(checkJson(run.out, check), 0) << run.out;
}

TEST(CliMonitor, LinesEachSecondAndASummaryWithRepeatsFromLongFrames) {
    const CliRun run =
        runCli({"monitor", "--seconds", "2.5"}, "interface:channels=100:noise=3:frame_ms=20");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("1 s: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("2 s: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("largest ptp_1s 3 (axis 1 X)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Dropouts: 0"), std::string::npos) << run.out;
    // Every 20 ms frame is sent twice.
    EXPECT_NE(run.out.find("% of the reports repeat"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 X    25700  25703"), std::string::npos) << run.out;
}

TEST(CliMonitor, ExitCodesTellTheFailuresApart) {
    EXPECT_EQ(runCli({"monitor", "--seconds", "0"}, "interface").exitCode, 2);
    EXPECT_EQ(runCli({"monitor", "--seconds", "x"}, "interface").exitCode, 2);
    EXPECT_EQ(runCli({"monitor", "--seconds", "1"}, "").exitCode, 3);
    EXPECT_EQ(runCli({"monitor", "--seconds", "1"}, "interface:locked=1").exitCode, 4);
    EXPECT_EQ(runCli({"monitor", "--seconds", "1"}, "loader").exitCode, 3);
    // The interface leaves after half a second: what came is still summed up.
    const CliRun left =
        runCli({"monitor", "--seconds", "5", "--json"}, "interface:unplug_after_ms=500");
    EXPECT_EQ(left.exitCode, 5);
    EXPECT_EQ(checkJson(left.out, "assert 20 <= d[\"reports\"] <= 52, d"), 0) << left.out;
    EXPECT_EQ(runCli({"monitor", "--seconds", "0.5"}, "interface:joy_ms=0").exitCode, 5);
    EXPECT_EQ(runCli({"monitor", "--seconds", "0.5", "--csv", "/nonexistent/x.csv"}, "interface")
                  .exitCode,
              1);
}

} // namespace
} // namespace orvane::test
