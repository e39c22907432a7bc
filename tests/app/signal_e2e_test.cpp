// The Signal tab on the real libtavrel.so, loaded by name, with the emulated interface: the
// reports the dialog's Transmit reads out of its way are counted too, and a recording
// writes every report it saw. With ORVANE_SCREENSHOT_DIR set, the tab is also saved as a
// picture at 1280 x 720 (signal-tab-en.png, signal-tab-de.png).
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "app/Form1.h"
#include "config/Dialog2.h"
#include "device/tavrel_library.h"
#include "signal/signal_tab.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"
#include "ui/wait_until.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class SignalEndToEnd : public ::testing::Test {
protected:
    FakeUiServices ui;
    FakeOsInfo os;
    FakeUrlOpener urls;
    test::TemporaryFolder folder;

    void openDialog(const char* callingCode, const std::function<void(Dialog2&)>& drive) {
        TavrelLibrary tavrel;
        FakeSystemLocale locale{callingCode};
        Form1 form(Form1Services{tavrel, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
        auto* list = form.findChild<QTreeWidget*>("DeviceList");
        ASSERT_GE(list->topLevelItemCount(), 1);
        list->setCurrentItem(list->topLevelItem(0));
        bool shown = false;
        ui.onModal = [&](QDialog& dialog) {
            shown = true;
            drive(static_cast<Dialog2&>(dialog));
        };
        form.OpenDev2_Click(0);
        ASSERT_TRUE(shown);
    }

    static signal::SignalTab& showSignalTab(Dialog2& d) {
        auto* tab = d.findChild<signal::SignalTab*>("SignalTab");
        d.findChild<QTabWidget*>("pages")->setCurrentWidget(tab);
        return *tab;
    }

    static bool startupReadDone(const Dialog2& d) {
        return d.logText().count("PUT: ") == 20 && !d.sequenceRunning();
    }

    // The dialog at 1280 x 720 as a picture, when pictures are asked for.
    static void savePicture(Dialog2& d, const char* name) {
        const char* dir = std::getenv("ORVANE_SCREENSHOT_DIR");
        if (!dir) return;
        d.resize(1280, 720);
        waitUntil([] { return false; }, 600ms); // a few chart repaints at the new size
        EXPECT_TRUE(d.grab().save(QString::fromLocal8Bit(dir) + "/" + name));
    }
};

TEST_F(SignalEndToEnd, ReportsReadByATransmitAreCountedAndRecorded) {
    // Slow answers make the Transmit long enough to read many joystick reports away.
    useDevices("interface:latency_ms=5:noise=40/0/200:frame_ms=20");
    const auto csv = folder.path() / "signal.csv";
    ui.saveNames.push_back(csv.string());
    openDialog("1", [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        signal::SignalTab& tab = showSignalTab(d);
        ASSERT_TRUE(tab.listening());
        d.findChild<QPushButton*>("SignalRecord")->click();
        ASSERT_TRUE(tab.recording());
        ASSERT_TRUE(waitUntil([&] { return tab.totals().reports >= 20; }));

        const long before = tab.totals().reports;
        const auto start = Clock::now();
        d.findChild<QPushButton*>("Command14")->click();
        const auto took = Clock::now() - start;
        EXPECT_EQ(d.logText().count("get: F9"), 20 + 54) << "every exchange answered";
        const long during = tab.totals().reports - before;
        // A report every 10 ms while the Transmit ran: none went to the exchanges alone.
        const double due = std::chrono::duration<double>(took) / 10ms;
        EXPECT_GE(static_cast<double>(during), 0.9 * due - 3)
            << "Transmit took " << due * 10 << " ms";
        EXPECT_LE(static_cast<double>(during), due + 3);

        savePicture(d, "signal-tab-en.png");
        const long recorded = tab.recordedReports();
        d.findChild<QPushButton*>("SignalRecord")->click();
        EXPECT_FALSE(tab.recording());
        EXPECT_GE(recorded, during);
        std::ifstream in(csv);
        long lines = 0;
        for (std::string line; std::getline(in, line);)
            ++lines;
        EXPECT_EQ(lines, recorded + 1) << "a header and a line per report";
        EXPECT_TRUE(ui.messages.empty());
        d.findChild<QPushButton*>("CancelButton_0")->click();
    });
}

// German texts on the tab; only a picture to look at.
TEST_F(SignalEndToEnd, GermanPicture) {
    if (!std::getenv("ORVANE_SCREENSHOT_DIR")) GTEST_SKIP() << "ORVANE_SCREENSHOT_DIR not set";
    useDevices("interface:noise=40/0/200:frame_ms=20:gap_every_ms=1500:gap_ms=60");
    openDialog("49", [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        showSignalTab(d);
        waitUntil([] { return false; }, 3s);
        savePicture(d, "signal-tab-de.png");
        d.findChild<QPushButton*>("CancelButton_0")->click();
    });
}

} // namespace
} // namespace orvane::test
