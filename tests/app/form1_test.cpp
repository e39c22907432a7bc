// The main window: start-up, captions, languages, list, update check, end of the program.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/qt_ui_services.h"
#include "config/Dialog2.h"
#include "form1_fixture.h"
#include "resources/string_table.h"

namespace orvane::test {
namespace {

QString table(int id) {
    return QString::fromUtf8(stringTable(id).data(), stringTable(id).size());
}

// Every caption of the main window, by control name, with the string id it shows.
const std::vector<std::pair<const char*, int>> kCaptions{
    {"OpenDev2_0", 2},     {"OpenDev_0", 3}, {"Console_Command", 4}, {"commandAktualisieren_1", 5},
    {"UpdatesCommand", 6}, {"Cancel_2", 7}};

TEST_F(Form1Test, StartsInEnglishWithTitleLogAndAnEmptyList) {
    start();
    EXPECT_EQ(form->windowTitle(), "Orvane v2.3 - Tavrel R/C USB-Interface Config");
    EXPECT_EQ(form->language().offset, 1000);
    EXPECT_EQ(form->language().code, "en");
    for (const auto& [name, id] : kCaptions)
        EXPECT_EQ(caption(name), table(1000 + id)) << name;
    EXPECT_EQ(control<QLabel>("Devices")->text(), table(1001));
    EXPECT_EQ(caption("Help_Command"), "&?");

    const std::vector<std::string> expected{
        "App Start v2.3.55", "entering Form1.Refresh_Click()", "entering Form1.getDevices()",
        "exiting Form1.getDevices()", "exiting Form1.refresh_Click()"};
    EXPECT_EQ(logMessages(), expected);
    for (const auto& e : logEntries()) {
        EXPECT_EQ(e.typeLine, "Information (4)");
        EXPECT_EQ(e.stamp, kFixedStamp);
    }

    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_TRUE(enabled("OpenDev_0"));
    EXPECT_FALSE(enabled("OpenDev2_0"));
    EXPECT_FALSE(enabled("Console_Command"));
    form->DeviceList_Click();
    EXPECT_FALSE(enabled("OpenDev2_0")); // an empty list enables nothing
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1Test, ControlsCarryTheirNamesTooltipsAndColumns) {
    start();
    for (const char* name :
         {"DeviceList", "OpenDev2_0", "Console_Command", "OpenDev_0", "commandAktualisieren_1",
          "UpdatesCommand", "Cancel_2", "Help_Command", "CommandDeutsch", "commandEnglisch",
          "Devices", "VendorIDTextBox", "ProductIDTextBox"})
        EXPECT_NE(control(name), nullptr) << name;
    EXPECT_EQ(form->objectName(), "Form1");
    EXPECT_EQ(control("OpenDev2_0")->toolTip(), "Open selected USB device");
    EXPECT_EQ(control("OpenDev_0")->toolTip(), "Wait for USB-Vexa3 and connect with boot loader");
    EXPECT_EQ(control("commandAktualisieren_1")->toolTip(), "Refresh HID USB develist");
    EXPECT_EQ(control("Cancel_2")->toolTip(), "Close Program");
    const QStringList columns{"Device Name",   "Manufacturer", "Vendor ID",  "Product ID",
                              "Serial Number", "In Rpt Len",   "Out Rpt Len"};
    ASSERT_EQ(list()->columnCount(), 7);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(list()->headerItem()->text(c), columns[c]);
}

TEST_F(Form1Test, GermanSystemKeepsItsCodeWhenTheFlagsSwitchTheCaptions) {
    locale.countryCode = "49";
    start();
    EXPECT_EQ(form->language().code, "de");
    for (const auto& [name, id] : kCaptions)
        EXPECT_EQ(caption(name), table(id)) << name;

    control<QAbstractButton>("commandEnglisch")->click();
    EXPECT_EQ(form->language().offset, 1000);
    for (const auto& [name, id] : kCaptions)
        EXPECT_EQ(caption(name), table(1000 + id)) << name;
    EXPECT_EQ(control<QLabel>("Devices")->text(), table(1001));
    EXPECT_EQ(form->language().code, "de");

    form->UpdatesCommand_Click();
    ASSERT_EQ(urls.urls.size(), 1u);
    EXPECT_NE(urls.urls[0].find("?lang=de&"), std::string::npos);
    ASSERT_EQ(ui.messages.size(), 1u); // the hint follows the captions' language
    EXPECT_EQ(ui.messages[0].text, stringTable(1008));

    control<QAbstractButton>("CommandDeutsch")->click();
    EXPECT_EQ(form->language().offset, 0);
    EXPECT_EQ(caption("Cancel_2"), table(7));
}

// The main window has a second base beside its widget: a handle made from a pointer to
// either must lead back to the widget, or message boxes lose their owner.
TEST_F(Form1Test, WindowHandleOfTheMainWindowLeadsBackToItsWidget) {
    start();
    EXPECT_EQ(widgetOf(form.get()), static_cast<QWidget*>(form.get()));
    BootLoaderLocator* locator = form.get();
    EXPECT_EQ(widgetOf(locator), static_cast<QWidget*>(form.get()));
    EXPECT_EQ(widgetOf({}), nullptr);
}

TEST_F(Form1Test, AustrianSystemStartsInEnglish) {
    locale.countryCode = "43";
    start();
    EXPECT_EQ(form->language().code, "en");
    EXPECT_EQ(caption("OpenDev2_0"), "&Open");
}

TEST_F(Form1Test, ListShowsTableTextsAndAClickEnablesTheDeviceButtons) {
    api.devices = {listedMouse(), unlistedLoader()};
    start();
    ASSERT_EQ(form->deviceCount(), 2);
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    const QStringList mouse{"Mouse", "Acme", " 4660", " 1", "SN42", " 5", " 0"};
    const QStringList loader{"Loader", "Tavrel", "21377", "25611", "", "22", "22"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(list()->topLevelItem(0)->text(c), mouse[c]);
        EXPECT_EQ(list()->topLevelItem(1)->text(c), loader[c]);
    }
    // A real click on the second row selects it and runs DeviceList_Click.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QRect rect = list()->visualItemRect(list()->topLevelItem(1));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(list()->currentItem(), list()->topLevelItem(1));
    EXPECT_TRUE(enabled("OpenDev2_0"));
    EXPECT_TRUE(enabled("Console_Command"));
    EXPECT_TRUE(enabled("OpenDev_0"));
    EXPECT_EQ(logCount("entering Form1.DeviceList_Click()"), 1);

    form->commandAktualisieren_Click(1);
    EXPECT_FALSE(enabled("OpenDev2_0"));
    EXPECT_FALSE(enabled("Console_Command"));
    EXPECT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(logCount("entering Form1.Refresh_Click()"), 2);
}

TEST_F(Form1Test, MissingLibraryIsReportedAndTheWindowStillShows) {
    api.libraryMissing = true;
    start();
    form->show();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(messageTexts(), std::vector<std::string>(3, "Error 53, File not found: tavrel"));
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    const auto entries = logEntries();
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const FileEntry& e) {
                                return e.typeLine == "Error (1)" &&
                                       e.message == "Error 53, File not found: tavrel";
                            }),
              3);
    EXPECT_EQ(logMessages().back(), "exiting Form1.refresh_Click()");
}

TEST_F(Form1Test, MissingOpenFunctionIsReportedByName) {
    api.missingFunctions = {"Open"};
    api.devices = {listedMouse()};
    start();
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Error 453, Can't find DLL entry point Open in tavrel"});
    EXPECT_EQ(form->deviceCount(), 1);
}

TEST_F(Form1Test, ProductIdOfASlotAndOfAnInvalidSlot) {
    api.devices = {listedInterface()};
    start();
    EXPECT_EQ(form->getProductID(0), " 25637");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(form->getProductID(129), "");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Error 9, Subscript out of range"});
    const auto m = logMessages();
    ASSERT_GE(m.size(), 3u);
    EXPECT_EQ(m[m.size() - 3], "entering Form1.getProductID(129)");
    EXPECT_EQ(m[m.size() - 2], "Error 9, Subscript out of range");
    EXPECT_EQ(m.back(), "exiting Form1.getProductID()");
}

TEST_F(Form1Test, UpdateCheckSendsTheSelectionAndTheLastFirmwareVersion) {
    api.devices = {listedInterface()};
    start();
    form->UpdatesCommand_Click();
    ASSERT_EQ(urls.urls.size(), 1u);
    EXPECT_EQ(urls.urls[0], "https://update.orvane.org/cgi-bin/versioncheck.pl?lang=en"
                            "&verOrvane=2.3.55&verUSB-Vexa=0.0.0");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[0].text, stringTable(1008));

    // The configuration dialog reads version 1.2.3 from the interface.
    select(0);
    ui.onModal = [](QDialog& d) { emit static_cast<Dialog2&>(d).firmwareVersionRead(1, 2, 3); };
    form->OpenDev2_Click(0);
    EXPECT_EQ(control<QLineEdit>("ProductIDTextBox")->text(), "1");
    EXPECT_EQ(control<QLineEdit>("VendorIDTextBox")->text(), "2");

    ui.messages.clear();
    form->UpdatesCommand_Click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(urls.urls.back(), "https://update.orvane.org/cgi-bin/versioncheck.pl?lang=en"
                                "&verOrvane=2.3.55&VID=%2021375&PID=%2025637&verUSB-Vexa=1.2.3");
    for (const auto& f : std::filesystem::directory_iterator(folder.path()))
        EXPECT_EQ(f.path().filename(), "events.log"); // no shortcut file is left behind
}

TEST_F(Form1Test, AnInterfaceWithoutVersionAnswerResetsTheVersionToZero) {
    api.devices = {listedInterface()};
    start();
    select(0);
    ui.onModal = [](QDialog& d) { emit static_cast<Dialog2&>(d).firmwareVersionRead(1, 2, 3); };
    form->OpenDev2_Click(0);
    ui.onModal = nullptr;
    form->OpenDev2_Click(0);
    EXPECT_EQ(form->firmwareVersion().major, 0);
    EXPECT_EQ(form->firmwareVersion().minor, 0);
}

TEST_F(Form1Test, CloseLogsAppExitAndEndsWithoutTerminate) {
    start();
    form->Cancel_Click(2);
    EXPECT_EQ(endCalls, 1);
    form.reset();
    const auto m = logMessages();
    EXPECT_EQ(m.back(), "App Exit");
    EXPECT_EQ(std::count(m.begin(), m.end(), "App Terminated"), 0);
}

TEST_F(Form1Test, ReleasingTheWindowLogsAppTerminated) {
    start();
    form.reset();
    EXPECT_EQ(logMessages().back(), "App Terminated");
    EXPECT_EQ(endCalls, 0);
}

TEST_F(Form1Test, LogOfASecondRunFollowsTheFirst) {
    start();
    form.reset();
    start();
    const auto m = logMessages();
    EXPECT_EQ(std::count(m.begin(), m.end(), "App Start v2.3.55"), 2);
    EXPECT_EQ(m[5], "App Terminated");
    EXPECT_EQ(m[6], "App Start v2.3.55");
}

TEST_F(Form1Test, AboutBoxOpensModalFromTheQuestionMark) {
    start();
    control<QAbstractButton>("Help_Command")->click();
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"frmAbout"});
    const auto m = logMessages();
    const std::vector<std::string> tail(m.end() - 4, m.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "entering Form1.Help_Command_Click()", "entering frmAbout.Form_Load()",
                        "exiting frmAbout.Form_Load()", "exiting Form1.Help_Command_Click()"}));
}

} // namespace
} // namespace orvane::test
