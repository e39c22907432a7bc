// The main window on the real libtavrel.so, loaded by name from the program's folder, with
// emulated devices. The library reads TAVREL_EMULATOR once per process, so each test runs
// in a process of its own (as CTest runs them).
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Form1.h"
#include "device/tavrel_library.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

class EndToEnd : public ::testing::Test {
protected:
    FakeUiServices ui;
    FakeOsInfo os;
    FakeSystemLocale locale{"1"};
    FakeUrlOpener urls;
    TemporaryFolder folder;

    // Sets the devices for this process; false when an earlier test already chose them.
    static bool useEmulator(const char* devices) {
        static std::string chosen;
        if (!chosen.empty() && chosen != devices) return false;
        chosen = devices;
        setenv("TAVREL_EMULATOR", devices, 1);
        return true;
    }

    std::vector<QStringList> rows(Form1& form) const {
        auto* list = form.findChild<QTreeWidget*>("DeviceList");
        std::vector<QStringList> out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList r;
            for (int c = 0; c < 7; ++c)
                r << list->topLevelItem(i)->text(c);
            out.push_back(r);
        }
        return out;
    }
};

// With a serial number longer than the listing keeps: Open finds it by the listed form.
TEST_F(EndToEnd, EmulatedInterfaceAppearsInTheDeviceList) {
    if (!useEmulator("interface:serial=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"))
        GTEST_SKIP() << "needs a process of its own";
    TavrelLibrary tavrel;
    Form1 form(Form1Services{tavrel, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
    form.show();
    ASSERT_EQ(tavrel.loadedPath(), (runningProgramFolder() / "libtavrel.so").string());
    EXPECT_TRUE(ui.messages.empty());
    const auto r = rows(form);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][0], "ZT2960");
    EXPECT_EQ(r[0][2], " 21375");
    EXPECT_EQ(r[0][3], " 25637");
    EXPECT_EQ(r[0][4], "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(r[0][5], " 18");
    EXPECT_EQ(r[0][6], " 8");

    // Open hands the configuration dialog an opened device.
    auto* list = form.findChild<QTreeWidget*>("DeviceList");
    list->setCurrentItem(list->topLevelItem(0));
    form.OpenDev2_Click(0);
    EXPECT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog2"});
    EXPECT_TRUE(ui.messages.empty());
    tavrel.CloseRead();
    tavrel.CloseWrite();
}

// The listing examines only the first 20 interfaces, opening examines more: an interface
// behind 20 others is missed by the listing and added as a known device, while a boot
// loader among the first 20 is listed once.
TEST_F(EndToEnd, KnownInterfaceBeyondTheListingIsAddedAndAListedOneIsNot) {
    std::string devices = "loader";
    for (int i = 0; i < 19; ++i)
        devices += ",interface:vid=0x1234:pid=" + std::to_string(0x100 + i) + ":product=Pad" +
                   std::to_string(i);
    devices += ",interface";
    if (!useEmulator(devices.c_str())) GTEST_SKIP() << "needs a process of its own";
    TavrelLibrary tavrel;
    Form1 form(Form1Services{tavrel, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
    EXPECT_TRUE(ui.messages.empty());
    const auto r = rows(form);
    ASSERT_EQ(r.size(), 21u);
    EXPECT_EQ(r[0][0], "Loader");
    EXPECT_EQ(r[0][2], " 21377");
    EXPECT_EQ(r[0][3], " 25611");
    int loaders = 0;
    for (const auto& row : r)
        loaders += row[3].trimmed() == "25611";
    EXPECT_EQ(loaders, 1);
    EXPECT_EQ(r[20], (QStringList{"ZT2960", "Tavrel", "21375", "25637", "", "18", "8"}));
}

// An interface the user may not open (locked stands for a hidraw node without permission):
// Open ends with one message that names the problem and the command that fixes it.
TEST_F(EndToEnd, InterfaceWithoutPermissionIsExplainedWithTheCommand) {
    if (!useEmulator("interface:locked=1")) GTEST_SKIP() << "needs a process of its own";
    TavrelLibrary tavrel;
    Form1 form(Form1Services{tavrel, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
    auto* list = form.findChild<QTreeWidget*>("DeviceList");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    list->setCurrentItem(list->topLevelItem(0));
    form.OpenDev2_Click(0);
    EXPECT_TRUE(ui.modalWindows.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("no permission"), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find("sudo udevadm trigger"), std::string::npos);
}

// The binding's failures reach the user through errorMsg and the window still comes up.
TEST_F(EndToEnd, MissingLibraryOrFunctionIsReportedAndTheWindowShows) {
    TavrelLibrary absent(folder.path(), "libtavrel_absent_for_test.so");
    {
        Form1 form(Form1Services{absent, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
        form.show();
        EXPECT_TRUE(form.isVisible());
        std::vector<std::string> texts;
        for (const auto& m : ui.messages)
            texts.push_back(m.text);
        EXPECT_EQ(texts, std::vector<std::string>(3, "Error 53, File not found: tavrel"));
    }
    ui.messages.clear();
    TavrelLibrary partial(runningProgramFolder(), "libtavrel_partial.so");
    Form1 form(Form1Services{partial, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
    form.show();
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error 453, Can't find DLL entry point Open in tavrel");
    EXPECT_EQ(form.deviceCount(), 0);
}

} // namespace
} // namespace orvane::test
