#include <gtest/gtest.h>

#include "shell/device_opening.h"
#include "shell/trap.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

struct Counts {
    int attempts = 0;
    int passesFailed = 0;
};

TEST(OpenRetries, StopsAtFirstSuccessAfterFailedPasses) {
    LogFixture fx;
    Counts c;
    const bool opened = openWithRetries(
        Trap(fx.log), [&] { return ++c.attempts == 25 ? 1 : 0; }, [&] { ++c.passesFailed; });
    EXPECT_TRUE(opened);
    EXPECT_EQ(c.attempts, 25);
    EXPECT_EQ(c.passesFailed, 2);
}

TEST(OpenRetries, FiftyAttemptsAndARefreshAfterEachFailedPass) {
    LogFixture fx;
    Counts c;
    EXPECT_FALSE(openWithRetries(
        Trap(fx.log), [&] { return ++c.attempts, 0; }, [&] { ++c.passesFailed; }));
    EXPECT_EQ(c.attempts, 50);
    EXPECT_EQ(c.passesFailed, 5);
    EXPECT_TRUE(fx.ui.messages.empty());
}

TEST(OpenRetries, OnlyResultOneCountsAsOpened) {
    LogFixture fx;
    int attempts = 0;
    EXPECT_FALSE(openWithRetries(Trap(fx.log), [&] { return ++attempts, -1; }, {}));
    EXPECT_EQ(attempts, 50);
}

TEST(OpenRetries, AFailingAttemptIsReportedAndTheNextOneRuns) {
    LogFixture fx;
    int attempts = 0;
    EXPECT_TRUE(openWithRetries(Trap(fx.log),
                                [&] {
                                    if (++attempts == 1)
                                        throw RuntimeFailure(9, "Subscript out of range");
                                    return 1;
                                },
                                {}));
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(fx.messageTexts(), std::vector<std::string>{"Error 9, Subscript out of range"});
}

TEST(OpenRetries, MissingLibraryEndsTheAttemptsWithOneReport) {
    LogFixture fx;
    Counts c;
    EXPECT_FALSE(openWithRetries(
        Trap(fx.log),
        [&]() -> int {
            ++c.attempts;
            throw RuntimeFailure(53, "File not found: tavrel");
        },
        [&] { ++c.passesFailed; }));
    EXPECT_EQ(c.attempts, 1);
    EXPECT_EQ(c.passesFailed, 0);
    EXPECT_EQ(fx.messageTexts(), std::vector<std::string>{"Error 53, File not found: tavrel"});
}

} // namespace
} // namespace orvane::test
