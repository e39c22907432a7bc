#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "cli_run.h"

namespace orvane::test {
namespace {

TEST(CliList, ShowsTheInterfaceAndTheBootLoaderAsTableAndAsJson) {
    const CliRun table = runCli({"list"}, "interface,loader");
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_NE(table.out.find("interface"), std::string::npos);
    EXPECT_NE(table.out.find("boot loader"), std::string::npos);

    const CliRun json = runCli({"list", "--json"}, "interface,loader");
    ASSERT_EQ(json.exitCode, 0);
    // The output must be JSON that a script can load.
    FILE* check = popen("python3 -c 'import json,sys; d=json.load(sys.stdin); "
                        "assert [x[\"kind\"] for x in d] == [\"interface\", \"boot loader\"]'",
                        "w");
    ASSERT_NE(check, nullptr);
    std::fputs(json.out.c_str(), check);
    EXPECT_EQ(pclose(check), 0) << json.out;
}

TEST(CliConfigJson, ReadNamesEveryItemAsTheSettingsFileDoes) {
    const CliRun json = runCli({"config", "read", "--json"}, "interface");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    FILE* check = popen("python3 -c 'import json,sys; d=json.load(sys.stdin); "
                        "assert list(d) == [\"Slider1\", \"Slider2\", \"Slider3\", \"Check1\", "
                        "\"Check2\", \"Check3\", \"mixerAssignment\", \"neutral\", \"factor\", "
                        "\"exponent\", \"Option1\", \"factorQ\", \"exponentQ\"], list(d); "
                        "assert all(len(v) == 8 for k, v in d.items() if k != \"Option1\"); "
                        "assert d[\"Option1\"] == [1, 0]'",
                        "w");
    ASSERT_NE(check, nullptr);
    std::fputs(json.out.c_str(), check);
    EXPECT_EQ(pclose(check), 0) << json.out;
}

TEST(CliSend, ShowsTheAnswerToAVersionRequest) {
    const CliRun run = runCli({"send", "F9", "00 08 15 EE 1C 00 00"}, "interface:fw=1.3.7");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("tx: F9 00 08 15 EE 1C 00 00 \n"), std::string::npos);
    EXPECT_NE(run.out.find("rx: F9 1C 01 03 00 07 "), std::string::npos) << run.out;
}

TEST(CliSend, ExitCodesTellTheFailuresApart) {
    // Input that no report buffer holds is refused before any device is looked for.
    EXPECT_EQ(runCli({"send", "F9", "1FF"}, "").exitCode, 2);
    EXPECT_EQ(runCli({"send", "F9", "00", "--reads", "0"}, "interface").exitCode, 2);
    EXPECT_EQ(runCli({"send", "F9", "00"}, "").exitCode, 3);
    const CliRun locked = runCli({"send", "F9", "00"}, "interface:locked=1");
    EXPECT_EQ(locked.exitCode, 4);
    EXPECT_NE(locked.err.find("udev"), std::string::npos);
    EXPECT_EQ(
        runCli({"send", "F9", "00 08 15 EE 1C 00 00"}, "interface:silent=1:joy_ms=0").exitCode, 5);
    EXPECT_EQ(runCli({"frobnicate"}, "").exitCode, 2);
}

TEST(CliSend, DeviceChosenByPositionOrSerialNumber) {
    const std::string bus = "interface:serial=AAA:fw=1.3.1,interface:serial=BBB:fw=1.3.2";
    const CliRun second = runCli({"--device", "BBB", "send", "F9", "00 08 15 EE 1C 00 00"}, bus);
    EXPECT_NE(second.out.find("rx: F9 1C 01 03 00 02 "), std::string::npos) << second.err;
    const CliRun first = runCli({"send", "F9", "00 08 15 EE 1C 00 00", "--device", "1"}, bus);
    EXPECT_NE(first.out.find("rx: F9 1C 01 03 00 01 "), std::string::npos) << first.err;
    const CliRun byPosition = runCli({"send", "F9", "00 08 15 EE 1C 00 00", "--device", "2"}, bus);
    EXPECT_NE(byPosition.out.find("rx: F9 1C 01 03 00 02 "), std::string::npos) << byPosition.err;
    EXPECT_EQ(runCli({"send", "F9", "00", "--device", "CCC"}, bus).exitCode, 3);
}

TEST(CliSend, AnAnswerLaterThanTheDefaultBoundIsAwaitedWhenTheUserAsksForIt) {
    const std::string slow = "interface:latency_ms=300:joy_ms=0";
    const std::vector<std::string> send{"send", "F9", "00 08 15 EE 1C 00 00"};
    EXPECT_EQ(runCli(send, slow).exitCode, 5) << "the default bound stays 100 ms";

    auto longer = send;
    longer.insert(longer.begin(), {"--answer-timeout", "2000"});
    const CliRun option = runCli(longer, slow);
    EXPECT_EQ(option.exitCode, 0) << option.err;
    EXPECT_NE(option.out.find("rx: F9 1C"), std::string::npos);
    longer = send;
    longer.push_back("--answer-timeout=2000");
    EXPECT_EQ(runCli(longer, slow).exitCode, 0) << "also behind the command";

    ::setenv("ORVANE_ANSWER_TIMEOUT_MS", "2000", 1);
    const CliRun environment = runCli(send, slow);
    longer = send;
    longer.push_back("--answer-timeout=50");
    const CliRun optionWins = runCli(longer, slow);
    ::unsetenv("ORVANE_ANSWER_TIMEOUT_MS");
    EXPECT_EQ(environment.exitCode, 0) << environment.err;
    EXPECT_EQ(optionWins.exitCode, 5);

    for (const char* wrong : {"0", "soon", "100ms", "60001"}) {
        const CliRun refused = runCli({"--answer-timeout", wrong, "list"}, slow);
        EXPECT_EQ(refused.exitCode, 2) << wrong;
        EXPECT_NE(refused.err.find("no answer timeout"), std::string::npos) << refused.err;
    }
}

} // namespace
} // namespace orvane::test
