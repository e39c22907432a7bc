// The main window as a desktop program: Qt's own texts in the program's language, and a
// device list that follows devices coming and going.
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <chrono>

#include "app/device_monitor.h"
#include "app/listing_poll_monitor.h"
#include "form1_fixture.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

class FakeDeviceMonitor : public DeviceMonitor {
public:
    void start(Changed changed) override { changed_ = std::move(changed); }
    void announce() const {
        if (changed_) changed_();
    }

private:
    Changed changed_;
};

class Form1DesktopTest : public Form1Test {
protected:
    FakeDeviceMonitor monitor;

    Form1& startWatched() {
        form = std::make_unique<Form1>(
            Form1Services{api, ui, os, locale, urls, folder.path(), folder.path() / "state",
                          [] { return std::string(kFixedStamp); }, [this] { ++endCalls; }, nullptr,
                          &monitor, 0ms});
        return *form;
    }
    // The quiet time is 0: the list follows at the next turn of the event loop.
    static void settle() { QCoreApplication::processEvents(); }
    int refreshes() const { return logCount("entering Form1.Refresh_Click()"); }
    QString selectedName() const {
        const auto items = list()->selectedItems();
        return items.isEmpty() ? QString() : items.front()->text(0);
    }
    static FakeDevice secondInterface() {
        return {0x537F, 0x6425, "ZT2960", "Tavrel", "EMU1", 18, 8};
    }
};

bool germanQtCatalogue() {
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                         QStringLiteral("/qtbase_de.qm"));
}

QString lookInText() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
}

QString yesButtonText() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                    QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text();
}

TEST_F(Form1Test, QtTextsFollowTheLanguageFromStartAndFlags) {
    if (!germanQtCatalogue()) GTEST_SKIP() << "Qt's German catalogue is not installed";
    locale.countryCode = "49";
    start();
    EXPECT_EQ(lookInText().toStdString(), "Suchen in:");
    EXPECT_EQ(yesButtonText().toStdString(), "&Ja");
    // The texts of the program's own that stay English in both languages stay English.
    EXPECT_EQ(list()->headerItem()->text(0), "Device Name");

    control<QAbstractButton>("commandEnglisch")->click();
    EXPECT_EQ(lookInText().toStdString(), "Look in:");
    EXPECT_EQ(yesButtonText().toStdString(), "&Yes");
    control<QAbstractButton>("CommandDeutsch")->click();
    EXPECT_EQ(yesButtonText().toStdString(), "&Ja");
    form.reset(); // the program's end takes Qt's German texts with it
    EXPECT_EQ(yesButtonText().toStdString(), "&Yes");
}

TEST_F(Form1Test, FirmwareVersionFieldsSayWhatTheyHoldInBothLanguages) {
    locale.countryCode = "49";
    start();
    const QString germanMajor = control<QLineEdit>("ProductIDTextBox")->toolTip();
    const QString germanMinor = control<QLineEdit>("VendorIDTextBox")->toolTip();
    control<QAbstractButton>("commandEnglisch")->click();
    const QString major = control<QLineEdit>("ProductIDTextBox")->toolTip();
    const QString minor = control<QLineEdit>("VendorIDTextBox")->toolTip();
    EXPECT_TRUE(major.contains("Firmware") && major.contains("major")) << major.toStdString();
    EXPECT_TRUE(minor.contains("Firmware") && minor.contains("minor")) << minor.toStdString();
    EXPECT_NE(germanMajor, major);
    EXPECT_NE(germanMinor, minor);
    EXPECT_NE(germanMajor, germanMinor);
}

TEST_F(Form1DesktopTest, BurstOfChangesRefreshesOnceAndKeepsTheSelectedDevice) {
    api.devices = {listedMouse(), listedInterface()};
    startWatched();
    select(1);
    form->DeviceList_Click();
    ASSERT_EQ(refreshes(), 1);

    // A second interface plugged in before the first: its three HID interfaces announce
    // themselves one by one.
    api.devices = {listedMouse(), secondInterface(), listedInterface()};
    monitor.announce();
    monitor.announce();
    monitor.announce();
    settle();
    EXPECT_EQ(refreshes(), 2);
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    // Same name, ids and maker: the serial number tells the selected one.
    ASSERT_EQ(list()->selectedItems().size(), 1);
    EXPECT_EQ(list()->selectedItems().front()->text(4), "EMU0");
    EXPECT_TRUE(enabled("OpenDev2_0"));
    EXPECT_TRUE(enabled("Console_Command"));
}

TEST_F(Form1DesktopTest, SelectedDeviceUnpluggedLeavesNoSelectionAndOpenDisabled) {
    api.devices = {listedMouse(), listedInterface()};
    startWatched();
    select(1);
    form->DeviceList_Click();
    api.devices = {listedMouse()};
    monitor.announce();
    settle();
    EXPECT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(selectedName(), QString());
    EXPECT_FALSE(enabled("OpenDev2_0"));
    EXPECT_FALSE(enabled("Console_Command"));
    EXPECT_TRUE(enabled("OpenDev_0"));
    // The log says what the list then holds: a followed change can be traced.
    EXPECT_EQ(logMessages().back(),
              "Device change: 1 listed: \"Mouse\" 4660:1 serial \"SN42\" 5/0");

    api.devices = {listedInterface(), listedMouse()};
    monitor.announce();
    settle();
    EXPECT_EQ(logMessages().back(), "Device change: 2 listed: \"ZT2960\" 21375:25637 serial "
                                    "\"EMU0\" 18/8; \"Mouse\" 4660:1 serial \"SN42\" 5/0");
}

// A rebuild probes devices through the library object that a device window uses: it
// waits until the window closed.
TEST_F(Form1DesktopTest, ChangeWhileADeviceWindowIsShownIsFollowedAfterItClosed) {
    api.devices = {listedInterface()};
    startWatched();
    int refreshesWhileShown = -1;
    ui.onModal = [&](QDialog&) {
        api.devices = {listedInterface(), listedMouse()};
        monitor.announce();
        settle();
        refreshesWhileShown = refreshes();
    };
    select(0);
    form->Console_Command_Click();
    EXPECT_EQ(refreshesWhileShown, 1);
    EXPECT_EQ(refreshes(), 2);
    EXPECT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(selectedName(), "ZT2960");
}

// The emulated interface's watcher: any change of the listing counts, a device that only
// changed its serial number too; an unchanged listing does not.
TEST(ListingPollMonitor, TellsEachChangeOfTheListingOnce) {
    FakeTavrelApi api;
    api.devices = {FakeDevice{0x537F, 0x6425, "ZT2960", "Tavrel", "EMU0", 18, 8}};
    ListingPollMonitor monitor(api, 1h);
    int changes = 0;
    monitor.start([&] { ++changes; });
    monitor.poll();
    EXPECT_EQ(changes, 0);
    api.devices[0].serialNumber = "EMU1";
    monitor.poll();
    monitor.poll();
    EXPECT_EQ(changes, 1);
    api.devices.clear();
    monitor.poll();
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace orvane::test
