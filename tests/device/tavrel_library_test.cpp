#include <gtest/gtest.h>

#include "common/temporary_folder.h"
#include "device/runtime_failure.h"
#include "device/tavrel_library.h"
#include "device/tavrel_report_port.h"
#include "ui/fake_tavrel_api.h"

namespace orvane::test {
namespace {

RuntimeFailure failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RuntimeFailure& f) {
        return f;
    }
    return RuntimeFailure(0, "no failure");
}

TEST(TavrelLibrary, MissingLibraryFailsEveryCallWithNumber53) {
    TemporaryFolder empty;
    TavrelLibrary lib(empty.path(), "libtavrel_absent_for_test.so");
    for (int i = 0; i < 2; ++i) {
        const RuntimeFailure f = failureOf([&] { lib.SetInstance(0); });
        EXPECT_EQ(f.number(), 53);
        EXPECT_EQ(f.description(), "File not found: tavrel");
    }
    EXPECT_EQ(failureOf([&] { lib.CloseRead(); }).number(), 53);
    EXPECT_EQ(lib.loadedPath(), "");
}

TEST(TavrelLibrary, ProgramFolderFirstAndMissingFunctionsFailByName) {
    TavrelLibrary lib(runningProgramFolder(), "libtavrel_partial.so");
    EXPECT_EQ(lib.SetInstance(0), 1);
    EXPECT_EQ(lib.loadedPath(), (runningProgramFolder() / "libtavrel_partial.so").string());
    DeviceListEntry entries[1]{};
    EXPECT_EQ(lib.GetList(0xFFFF, 0xFFFF, nullptr, nullptr, nullptr, entries, 1), 0);

    const RuntimeFailure open = failureOf([&] { lib.Open(1, 2, nullptr, nullptr, nullptr, -1); });
    EXPECT_EQ(open.number(), 453);
    EXPECT_EQ(open.description(), "Can't find DLL entry point Open in tavrel");
    int32_t in = 0;
    int32_t out = 0;
    EXPECT_EQ(failureOf([&] { lib.GetReportLengths(&in, &out); }).description(),
              "Can't find DLL entry point GetReportLengths in tavrel");
    std::array<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer{};
    EXPECT_EQ(failureOf([&] { lib.Read(buffer); }).number(), 453);
    // An older library cannot say why an Open failed: no reason, and no failure either.
    EXPECT_EQ(lib.GetOpenError(), 0);
    // The bound functions keep working after a failed binding.
    EXPECT_EQ(lib.SetInstance(1), 1);
}

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

TEST(TavrelReportPort, AnOlderLibraryWithoutReadTimeoutFallsBackAndSaysSoOnce) {
    FakeTavrelApi tavrel;
    tavrel.missingFunctions.insert("ReadTimeout");
    std::vector<std::string> notices;
    TavrelReportPort port(tavrel, [&](std::string_view n) { notices.emplace_back(n); });
    report::ReportBuffer buffer{};
    EXPECT_EQ(port.readFor(buffer, std::chrono::milliseconds{0}), 0);
    EXPECT_EQ(port.readFor(buffer, std::chrono::milliseconds{0}), 0);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(tavrel.count("Read"), 2);
}

TEST(TavrelReportPort, OtherFailuresOfTheLibraryReachTheCaller) {
    FakeTavrelApi tavrel;
    tavrel.libraryMissing = true;
    TavrelReportPort port(tavrel);
    report::ReportBuffer buffer{};
    EXPECT_THROW(port.readFor(buffer, std::chrono::milliseconds{0}), RuntimeFailure);
}

} // namespace
} // namespace orvane::test
