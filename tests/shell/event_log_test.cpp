#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

#include "shell/log_file.h"
#include "shell/time_stamp.h"
#include "shell/trap.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

TEST(EventLog, EntriesAreStampLineThenMessageWithTheirTypes) {
    LogFixture fx;
    fx.log.logI("App Start v2.3.55");
    fx.log.logW("careful");
    fx.log.logE("broken");
    ASSERT_EQ(fx.entries.size(), 3u);
    EXPECT_EQ(fx.entries[0].text, "07.12.2026,23:15:00\r\nApp Start v2.3.55");
    EXPECT_EQ(fx.entries[0].type, EventType::Information);
    EXPECT_EQ(static_cast<int>(fx.entries[1].type), 2);
    EXPECT_EQ(static_cast<int>(fx.entries[2].type), 1);
    EXPECT_TRUE(fx.ui.messages.empty());
}

TEST(EventLog, EntriesBeforeTheStartAreDroppedWithoutFailure) {
    FakeCoreUiServices ui;
    EventLog log(ui, [] { return std::string("x"); });
    log.logI("early");
    log.errorMsg(5, "Invalid procedure call");
    EXPECT_FALSE(log.started());
    ASSERT_EQ(ui.messages.size(), 1u); // the report itself still reaches the user
}

TEST(EventLog, ErrorMsgWritesOneErrorEntryAndShowsOneOkBox) {
    LogFixture fx;
    fx.log.errorMsg(RuntimeFailure(91, "Object variable or With block variable not set"));
    const std::string text = "Error 91, Object variable or With block variable not set";
    ASSERT_EQ(fx.entries.size(), 1u);
    EXPECT_EQ(fx.entries[0].text, std::string(kFixedStamp) + "\r\n" + text);
    EXPECT_EQ(fx.entries[0].type, EventType::Error);
    ASSERT_EQ(fx.ui.messages.size(), 1u);
    EXPECT_EQ(fx.ui.messages[0].text, text);
    EXPECT_EQ(fx.ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(fx.ui.messages[0].title.empty()); // the program's default caption
}

TEST(Trap, ReportsAFailingStatementAndLetsTheNextRun) {
    LogFixture fx;
    const Trap trap(fx.log);
    std::vector<int> ran;
    EXPECT_FALSE(trap([&] { throw RuntimeFailure(53, "File not found: tavrel"); }));
    EXPECT_TRUE(trap([&] { ran.push_back(2); }));
    EXPECT_FALSE(trap([&] { throw std::out_of_range("vector"); }));
    EXPECT_FALSE(trap([&] { throw std::runtime_error("boom"); }));
    EXPECT_EQ(ran, std::vector<int>{2});
    ASSERT_EQ(fx.ui.messages.size(), 3u);
    EXPECT_EQ(fx.ui.messages[0].text, "Error 53, File not found: tavrel");
    EXPECT_EQ(fx.ui.messages[1].text, "Error 9, Subscript out of range");
    EXPECT_EQ(fx.ui.messages[2].text, "Error 51, Internal error: boom");
    EXPECT_EQ(fx.entries.size(), 3u);
}

TEST(LogFile, TwoRunsAppendInOrderWithTypeFrames) {
    TemporaryFolder folder;
    for (const char* run : {"first run", "second run"}) {
        FakeCoreUiServices ui;
        EventLog log(ui, [] { return std::string(kFixedStamp); });
        auto sink = openEventLogFile(folder.path(), {});
        ASSERT_TRUE(sink);
        EXPECT_EQ(sink->path(), folder.path() / "events.log");
        log.start(std::move(sink));
        log.logI(run);
        log.logE("failure");
    }
    const std::string text = fileText(folder.path() / "events.log");
    EXPECT_EQ(text, "Information (4)\r\n07.12.2026,23:15:00\r\nfirst run\r\n"
                    "Error (1)\r\n07.12.2026,23:15:00\r\nfailure\r\n"
                    "Information (4)\r\n07.12.2026,23:15:00\r\nsecond run\r\n"
                    "Error (1)\r\n07.12.2026,23:15:00\r\nfailure\r\n");
}

TEST(LogFile, UnwritableProgramFolderFallsBackToTheStateFolder) {
    TemporaryFolder temp;
    // A file where the folder should be cannot take events.log, whoever runs the test.
    const auto programFolder = temp.path() / "program";
    { std::ofstream(programFolder) << "x"; }
    const auto stateFolder = temp.path() / "state" / "orvane";
    auto sink = openEventLogFile(programFolder, stateFolder);
    ASSERT_TRUE(sink);
    EXPECT_EQ(sink->path(), stateFolder / "events.log");
    sink->append("stamp\r\nmessage", EventType::Warning);
    EXPECT_EQ(fileText(stateFolder / "events.log"), "Warning (2)\r\nstamp\r\nmessage\r\n");
}

TEST(LogFile, NothingWritableMeansNoLogAndTheProgramGoesOn) {
    TemporaryFolder temp;
    const auto blocker = temp.path() / "file";
    { std::ofstream(blocker) << "x"; }
    EXPECT_EQ(openEventLogFile(blocker, blocker / "state"), nullptr);
    FakeCoreUiServices ui;
    EventLog log(ui, [] { return std::string(); });
    log.start(openEventLogFile(blocker, blocker / "state"));
    log.logI("goes nowhere");
    EXPECT_FALSE(log.started());
}

TEST(LogFile, StateFolderFollowsTheEnvironment) {
    std::map<std::string, std::string> env;
    auto get = [&](const char* name) -> std::optional<std::string> {
        auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    EXPECT_EQ(userStateFolder(get), std::filesystem::path());
    env["HOME"] = "/home/pilot";
    EXPECT_EQ(userStateFolder(get), std::filesystem::path("/home/pilot/.local/state/orvane"));
    env["XDG_STATE_HOME"] = "relative/ignored";
    EXPECT_EQ(userStateFolder(get), std::filesystem::path("/home/pilot/.local/state/orvane"));
    env["XDG_STATE_HOME"] = "/var/state";
    EXPECT_EQ(userStateFolder(get), std::filesystem::path("/var/state/orvane"));
}

TEST(TimeStamp, DateAndTimeJoinedByOneComma) {
    const std::string stamp = localTimeStamp();
    EXPECT_NE(stamp.find(','), std::string::npos);
    EXPECT_EQ(stamp.find('\n'), std::string::npos);
    EXPECT_FALSE(stamp.empty());
}

} // namespace
} // namespace orvane::test
