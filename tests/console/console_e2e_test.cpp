// The HID console opened from the main window on the real libtavrel.so, loaded by name from
// the program's folder, with emulated devices. The library reads TAVREL_EMULATOR once per
// process, so each test runs in a process of its own (as CTest runs them).
#include <QAbstractButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/Form1.h"
#include "console/Dialog1.h"
#include "device/tavrel_library.h"
#include "ui/fake_app_services.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

class ConsoleEndToEnd : public ::testing::Test {
protected:
    FakeUiServices ui;
    FakeOsInfo os;
    FakeSystemLocale locale{"1"};
    FakeUrlOpener urls;
    QTemporaryDir folder; // the event log's

    // Sets the devices for this process; false when an earlier test already chose them.
    static bool useEmulator(const char* devices) {
        static std::string chosen;
        if (!chosen.empty() && chosen != devices) return false;
        chosen = devices;
        useDevices(devices);
        return true;
    }

    // Opens the console on the listed device with that product name (or the text of another
    // column) and hands it to use.
    void withConsole(const QString& product, const std::function<void(Dialog1&)>& use,
                     int column = 0) {
        TavrelLibrary tavrel;
        Form1 form(Form1Services{
            tavrel, ui, os, locale, urls, folder.path().toStdString(), {}, {}, [] {}});
        auto* list = form.findChild<QTreeWidget*>("DeviceList");
        const auto items = list->findItems(product, Qt::MatchExactly, column);
        ASSERT_EQ(items.size(), 1);
        list->setCurrentItem(items[0]);
        bool shown = false;
        ui.onModal = [&](QDialog& d) {
            shown = true;
            use(static_cast<Dialog1&>(d));
            d.findChild<QAbstractButton*>("CancelButton")->click();
        };
        form.Console_Command_Click();
        EXPECT_TRUE(shown);
        EXPECT_TRUE(ui.messages.empty());
    }

    static QLineEdit* field(Dialog1& d, const char* name) {
        return d.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void send(Dialog1& d, const char* id, const char* data, const char* attempts = "1") {
        field(d, "OutputReportID")->setText(QString::fromLatin1(id));
        field(d, "WriteBuffer")->setText(QString::fromLatin1(data));
        field(d, "ReadAttempts_Box")->setText(QString::fromLatin1(attempts));
        d.findChild<QAbstractButton*>("Send")->click();
    }
    static QStringList lines(const QString& text) {
        return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

// Without the joystick stream, the one report read after the write is the answer.
TEST_F(ConsoleEndToEnd, VersionRequestIsAnsweredAndACustomButtonReplaysIt) {
    if (!useEmulator("interface:joy_ms=0,loader")) GTEST_SKIP() << "needs a process of its own";
    withConsole("ZT2960", [](Dialog1& d) {
        EXPECT_EQ(d.statusText(), "Open Completed!");
        send(d, "F9", "00 08 15 EE 1C 00 00");
        EXPECT_EQ(field(d, "InputReportID")->text(), "F9");
        EXPECT_TRUE(field(d, "ReadBuffer")->text().startsWith("1C 01 03 00 05 00 "));
        EXPECT_EQ(lines(d.consoleText()),
                  (QStringList{"tx: F9 00 08 15 EE 1C 00 00 ",
                               "rx: F9 1C 01 03 00 05 00 00 00 00 00 00 00 00 00 00 00 00 "}));
        EXPECT_TRUE(d.statusText().startsWith(
            "Write completed successfully! \r\nRead completed successfully!\r\n"));

        d.findChild<QAbstractButton*>("Assign_Command_0")->click();
        d.findChild<QAbstractButton*>("Command4")->click();
        field(d, "WriteBuffer")->clear();
        d.findChild<QAbstractButton*>("Custom_Command_0")->click();
        EXPECT_EQ(lines(d.consoleText()).value(0), "tx: F9 00 08 15 EE 1C 00 00 ");
        EXPECT_EQ(field(d, "InputReportID")->text(), "F9");
    });
}

// With the interface's joystick reports streaming, the answer is among the reports read.
TEST_F(ConsoleEndToEnd, ConfigurationReadIsAnsweredAmongTheJoystickReports) {
    if (!useEmulator("interface,loader")) GTEST_SKIP() << "needs a process of its own";
    withConsole("ZT2960", [](Dialog1& d) {
        send(d, "F9", "00 08 15 EE 10 00 00", "3");
        const QStringList l = lines(d.consoleText());
        ASSERT_EQ(l.size(), 4);
        EXPECT_TRUE(l.contains("rx: F9 10 21 43 65 87 00 00 00 00 00 00 00 00 00 00 00 00 "))
            << d.consoleText().toStdString();
        EXPECT_TRUE(d.statusText().contains("Read completed successfully!"));
    });
}

// The console scrambles nothing: the boot loader gets the probe as typed and its answer
// comes back scrambled, with the command byte in the clear.
TEST_F(ConsoleEndToEnd, BootLoaderProbeGoesOutUnscrambled) {
    if (!useEmulator("interface,loader")) GTEST_SKIP() << "needs a process of its own";
    withConsole("Loader", [](Dialog1& d) {
        d.findChild<QAbstractButton*>("Command1")->click();
        const QStringList l = lines(d.consoleText());
        ASSERT_EQ(l.size(), 2);
        EXPECT_EQ(l[0], "tx: F9" + QString(" 00").repeated(21) + " ");
        EXPECT_TRUE(l[1].startsWith("rx: F9 00 ")) << l[1].toStdString();
        EXPECT_TRUE(d.statusText().contains("Read completed successfully!"));
    });
}

constexpr const char* kOtherDevices =
    "interface:vid=0x1234:pid=0x0001:product=Pad:answer_id=2:joy_ms=0,"
    "interface:product=Mute:silent=1:joy_ms=0";

// A device that is not one of the interfaces answers with another report id: the first
// report that comes is its answer.
TEST_F(ConsoleEndToEnd, AnotherDeviceIsAnsweredByTheFirstReportWhateverItsId) {
    if (!useEmulator(kOtherDevices)) GTEST_SKIP() << "needs a process of its own";
    withConsole("Pad", [](Dialog1& d) {
        EXPECT_EQ(d.statusText(), "Open Completed!");
        send(d, "F9", "00 08 15 EE 1C 00 00");
        EXPECT_EQ(field(d, "InputReportID")->text(), "02");
        EXPECT_TRUE(field(d, "ReadBuffer")->text().startsWith("1C 01 03 00 05 "));
        EXPECT_TRUE(lines(d.consoleText()).value(1).startsWith("rx: 02 1C 01 03 00 05 "));
        EXPECT_TRUE(d.statusText().contains("Read completed successfully!"))
            << d.statusText().toStdString();
    });
}

// An interface that never answers: every attempt says that no report came, the read fields
// stay empty, and the status keeps its texts.
TEST_F(ConsoleEndToEnd, AttemptsThatReadNothingSaySo) {
    if (!useEmulator(kOtherDevices)) GTEST_SKIP() << "needs a process of its own";
    withConsole("Mute", [](Dialog1& d) {
        send(d, "F9", "00 08 15 EE 1C 00 00", "3");
        const QStringList l = lines(d.consoleText());
        ASSERT_EQ(l.size(), 4);
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(l[i], "rx: (no report came)");
        EXPECT_TRUE(field(d, "InputReportID")->text().isEmpty());
        EXPECT_TRUE(field(d, "ReadBuffer")->text().isEmpty());
        EXPECT_EQ(field(d, "ReadBuffer")->placeholderText(), "(no report came)");
        EXPECT_EQ(d.statusText(), "Write completed successfully! \r\nRead failed! rdresult 0, "
                                  "inputReportLength 18\r\nWrite/Read attempts: 52\r\n");
    });
}

// Two interfaces of one kind: the console works on the one of the selected row.
TEST_F(ConsoleEndToEnd, TheSelectedOfTwoInterfacesAnswers) {
    if (!useEmulator("interface:serial=AAA:fw=1.3.5:joy_ms=0,interface:serial=BBB:fw=1.2.7:"
                     "joy_ms=0"))
        GTEST_SKIP() << "needs a process of its own";
    withConsole(
        "BBB",
        [](Dialog1& d) {
            EXPECT_EQ(d.statusText(), "Open Completed!");
            send(d, "F9", "00 08 15 EE 1C 00 00");
            EXPECT_TRUE(field(d, "ReadBuffer")->text().startsWith("1C 01 02 00 07 "));
        },
        4);
}

} // namespace
} // namespace orvane::test
