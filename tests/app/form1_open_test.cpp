// Opening devices for the device windows: selection, retries, values, firmware dialog.
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <cerrno>

#include "console/Dialog1.h"
#include "firmware/Dialog.h"
#include "form1_fixture.h"
#include "shell/permission_hint.h"
#include "shell/udev_rule.h"

namespace orvane::test {
namespace {

TEST_F(Form1Test, OpenWithoutSelectionReportsTheAccessThenTheIndex) {
    api.devices = {listedMouse()};
    start();
    form->OpenDev2_Click(0);
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{"Error 91, Object variable or With block variable not set",
                                        "Invalid device index -1"}));
    EXPECT_EQ(ui.messages[1].buttons, MessageButtons::Ok);
    EXPECT_TRUE(ui.modalWindows.empty());
    const auto e = logEntries();
    ASSERT_GE(e.size(), 3u);
    EXPECT_EQ(e[e.size() - 3].message, "entering Form1.OpenDev2_Click(0)");
    EXPECT_EQ(e[e.size() - 2].typeLine, "Error (1)");
    EXPECT_EQ(e[e.size() - 2].message, "Error 91, Object variable or With block variable not set");
    EXPECT_EQ(e.back().message, "exiting Form1.OpenDev2_Click()");
}

TEST_F(Form1Test, ConsoleWithoutSelectionBehavesAlike) {
    start();
    form->Console_Command_Click();
    EXPECT_EQ(messageTexts().back(), "Invalid device index -1");
    EXPECT_EQ(logMessages().back(), "exiting Form1.Console_Command_Click()");
}

TEST_F(Form1Test, ConsoleGetsTheSevenValuesOfTheOpenedDevice) {
    api.devices = {listedMouse()};
    start();
    select(0);
    DeviceValues seen;
    QString cancelCaption;
    ui.onModal = [&](QDialog& d) {
        auto& console = static_cast<Dialog1&>(d);
        seen = console.deviceValues();
        cancelCaption = console.findChild<QAbstractButton*>("CancelButton")->text();
        // At this point the device is open for the console.
        EXPECT_TRUE(api.openedIndex.has_value());
    };
    form->Console_Command_Click();
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog1"});
    EXPECT_EQ(seen.vendorId, 0x1234);
    EXPECT_EQ(seen.productId, 1);
    EXPECT_EQ(seen.serialNumber, "SN42");
    EXPECT_EQ(seen.manufacturer, "Acme");
    EXPECT_EQ(seen.deviceName, "Mouse");
    EXPECT_EQ(seen.outputReportLen, 0);
    EXPECT_EQ(seen.inputReportLen, 5);
    EXPECT_EQ(cancelCaption, "&Cancel");
    // The listed device is opened by its strings.
    EXPECT_EQ(api.opens.back().product, "Mouse");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, OpeningRetriesFivePassesOfTenWithARefreshBetween) {
    FakeDevice mouse = listedMouse();
    mouse.failingOpens = 25;
    api.devices = {mouse};
    start();
    select(0);
    form->OpenDev2_Click(0);
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog2"});
    const auto mouseOpens = std::count_if(api.opens.begin(), api.opens.end(),
                                          [](const OpenCall& o) { return o.vendorId == 0x1234; });
    EXPECT_EQ(mouseOpens, 26);
    EXPECT_EQ(logCount("entering Form1.Refresh_Click()"), 1 + 2);
}

TEST_F(Form1Test, ADeviceThatNeverOpensLeavesOnlyTheRefreshedList) {
    FakeDevice mouse = listedMouse();
    mouse.openable = false;
    api.devices = {mouse};
    start();
    select(0);
    form->OpenDev2_Click(0);
    EXPECT_TRUE(ui.modalWindows.empty());
    EXPECT_TRUE(ui.messages.empty());
    const auto mouseOpens = std::count_if(api.opens.begin(), api.opens.end(),
                                          [](const OpenCall& o) { return o.vendorId == 0x1234; });
    EXPECT_EQ(mouseOpens, 50);
    EXPECT_EQ(logCount("entering Form1.Refresh_Click()"), 1 + 5);
    EXPECT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(logMessages().back(), "exiting Form1.OpenDev2_Click()");
}

// A device the user may not open: after the attempts, one message in the captions'
// language names the missing permission and the command that installs the udev rule. A
// device that is simply gone shows nothing, as before.
TEST_F(Form1Test, ADeviceWithoutPermissionIsExplainedOnceWithTheFix) {
    FakeDevice interface = listedInterface();
    interface.openable = false;
    api.devices = {interface};
    api.openError = EACCES;
    start();
    select(0);
    form->OpenDev2_Click(0);
    EXPECT_TRUE(ui.modalWindows.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0].text;
    EXPECT_NE(text.find("no permission"), std::string::npos);
    EXPECT_TRUE(text.ends_with(udevRuleCommand(kUdevRuleText, "70-orvane.rules")));
    EXPECT_EQ(logMessages().back(), "exiting Form1.OpenDev2_Click()");

    form->CommandDeutsch_Click();
    select(0);
    form->Console_Command_Click();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].text.find("Berechtigung"), std::string::npos);

    api.openError = ENODEV;
    select(0);
    form->OpenDev2_Click(0);
    EXPECT_EQ(ui.messages.size(), 2u);
}

// Keys do what the mouse does: moving onto a row is a click on the list (same handler,
// same log lines), Enter on it a double click.
TEST_F(Form1Test, KeyboardSelectsLikeAClickAndEnterOpensLikeADoubleClick) {
    api.devices = {listedMouse(), listedInterface()};
    start();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    list()->setFocus();
    // The focus rests on the first row without selecting it.
    list()->selectionModel()->setCurrentIndex(list()->model()->index(0, 0),
                                              QItemSelectionModel::NoUpdate);
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(list()->indexOfTopLevelItem(list()->selectedItems().value(0)), 1);
    EXPECT_EQ(logCount("entering Form1.DeviceList_Click()"), 1);
    EXPECT_EQ(logCount("exiting Form1.DeviceList_Click()"), 1);
    EXPECT_TRUE(enabled("OpenDev2_0"));
    EXPECT_TRUE(enabled("Console_Command"));

    QTest::keyClick(list(), Qt::Key_Up);
    EXPECT_EQ(list()->indexOfTopLevelItem(list()->selectedItems().value(0)), 0);
    EXPECT_EQ(logCount("entering Form1.DeviceList_Click()"), 2);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog2"});
    EXPECT_EQ(logCount("entering Form1.DeviceList_DblClick()"), 1);
    EXPECT_EQ(api.opens.back().vendorId, 0x1234u);
}

TEST_F(Form1Test, DoubleClickOnARowOpensTheConfigurationDialog) {
    api.devices = {listedInterface()};
    start();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QRect rect = list()->visualItemRect(list()->topLevelItem(0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog2"});
    EXPECT_EQ(logCount("entering Form1.DeviceList_DblClick()"), 1);
    EXPECT_EQ(logCount("entering Form1.OpenDev2_Click(0)"), 1);
    EXPECT_EQ(logCount("exiting Form1.DeviceList_DblClick()"), 1);
}

// The window system ends a double click with a release; that release is no third click.
// After a failed opening the refresh has disabled Open, and so it stays.
TEST_F(Form1Test, ReleaseEndingADoubleClickIsNoClickOfItsOwn) {
    FakeDevice mouse = listedMouse();
    mouse.openable = false;
    api.devices = {mouse};
    start();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QPoint row = list()->visualItemRect(list()->topLevelItem(0)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(logCount("entering Form1.DeviceList_Click()"), 1);
    EXPECT_EQ(logCount("entering Form1.DeviceList_DblClick()"), 1);
    EXPECT_EQ(logMessages().back(), "exiting Form1.DeviceList_DblClick()");
    EXPECT_FALSE(enabled("OpenDev2_0"));
    EXPECT_FALSE(enabled("Console_Command"));
    EXPECT_TRUE(list()->selectedItems().isEmpty()); // the refreshed list has no selection

    // The next single click counts again.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(logCount("entering Form1.DeviceList_Click()"), 2);
    EXPECT_TRUE(enabled("OpenDev2_0"));
}

TEST_F(Form1Test, FirmwareDialogWaitsWithItsTimerAndGetsTheLoaderOpened) {
    api.devices = {listedMouse(), unlistedLoader()};
    start();
    bool timerActive = false;
    QString title;
    std::optional<DeviceValues> loader;
    ui.onModal = [&](QDialog& d) {
        auto& dialog = static_cast<Dialog&>(d);
        timerActive = dialog.Timer1().isActive();
        title = dialog.windowTitle();
        EXPECT_EQ(dialog.Timer1().interval(), 250);
        // What the detection does once it finds the boot loader.
        EXPECT_EQ(form->findDevice(25611), 1);
        loader = form->openDevice(1);
    };
    form->OpenDev_Click(0);
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog"});
    EXPECT_TRUE(timerActive);
    EXPECT_EQ(title, "Waiting for Bootloader...");
    ASSERT_TRUE(loader);
    EXPECT_EQ(loader->productId, 25611);
    EXPECT_EQ(loader->inputReportLen, 22);
    EXPECT_EQ(loader->deviceName, "Loader");
    EXPECT_EQ(logCount("entering Form1.SetValuesInFirmwareDlg(2)"), 1);
    EXPECT_EQ(logCount("exiting Form1.SetValuesInFirmwareDlg()"), 1);
    EXPECT_EQ(logMessages().back(), "exiting Form1.OpenDev_Click()");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, FirmwareDialogIndexZeroIsInvalidAndNotRetried) {
    start();
    EXPECT_FALSE(form->openDevice(-1));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Invalid device index -1"});

    // A slot that does not open: 50 attempts, no refresh between the passes.
    api.devices = {listedMouse()};
    api.devices[0].openable = false;
    form->Refresh_Click(0);
    const int refreshes = logCount("entering Form1.Refresh_Click()");
    EXPECT_FALSE(form->openDevice(0));
    EXPECT_EQ(logCount("entering Form1.Refresh_Click()"), refreshes);
    EXPECT_EQ(std::count_if(api.opens.begin(), api.opens.end(),
                            [](const OpenCall& o) { return o.vendorId == 0x1234; }),
              50);
}

TEST_F(Form1Test, FirmwareDialogCaptionsFollowTheLanguage) {
    locale.countryCode = "49";
    start();
    QString open;
    QString console;
    ui.onModal = [&](QDialog& d) {
        open = d.findChild<QAbstractButton*>("open_Command")->text();
        console = d.findChild<QPlainTextEdit*>("Console")->toPlainText();
        EXPECT_FALSE(d.findChild<QWidget*>("erase_Command")->isEnabled());
        EXPECT_TRUE(d.findChild<QWidget*>("CancelButton")->isEnabled());
    };
    form->OpenDev_Click(0);
    EXPECT_EQ(open, QString::fromUtf8("&\xC3\x96"
                                      "ffnen..."));
    EXPECT_TRUE(console.startsWith("Verbinden Sie das USB-Interfece jetzt mit dem PC!\n"));
}

} // namespace
} // namespace orvane::test
