// The HID console driven by its controls' names against a scripted device.
#include <QApplication>
#include <QClipboard>
#include <QPushButton>

#include "dialog1_fixture.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

// Answers every request F9 00 08 15 EE 1C with the version 1.3.5, after a millisecond.
void answerVersion(FakeReportPort& port) {
    port.onRequest = answerAfter(1ms, [](const Report& request) -> std::optional<Report> {
        if (request.size() > 5 && request[5] == 0x1C) return Report{0xF9, 0x1C, 1, 3, 0, 5};
        return std::nullopt;
    });
}

TEST_F(ConsoleTest, LoadingOpensTheDeviceItselfAndLeavesOneHandleOfEachKind) {
    load();
    EXPECT_EQ(text("VendID"), " 21375");
    EXPECT_EQ(text("OutputReportID"), "0");
    EXPECT_EQ(status(), "Open Completed!");
    EXPECT_EQ(tavrel.lastOverlapped, -1);
    EXPECT_EQ(tavrel.lastManufacturer, "Tavrel");
    EXPECT_EQ(tavrel.lastSerial, "0001");
    EXPECT_EQ(tavrel.lastProduct, "ZT2960");
    EXPECT_EQ(tavrel.openReads, 1);
    EXPECT_EQ(tavrel.openWrites, 1);
    button("CancelButton")->click();
    EXPECT_EQ(tavrel.openReads, 0);
    EXPECT_EQ(tavrel.openWrites, 0);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ConsoleTest, AFailedOpenDisablesSendingAndExplainsTheLikelyCause) {
    tavrel.openable = false;
    load();
    EXPECT_EQ(status().rfind("Open() failed!  - This error typically occurs", 0), 0u);
    for (const char* name : {"OutputReportID", "WriteBuffer", "InputReportID", "ReadBuffer"})
        EXPECT_FALSE(field(name)->isEnabled()) << name;
    EXPECT_FALSE(button("Send")->isEnabled());
    button("CancelButton")->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ConsoleTest, SendShowsTheRequestAndTheAnswerInFieldsConsoleAndStatus) {
    answerVersion(port);
    port.stream({0x01, 0x80}, 10ms);
    load();
    clock.advance(35ms); // joystick reports queue up meanwhile
    type("F9", "00 08 15 EE 1C 00 00");
    button("Send")->click();
    EXPECT_EQ(port.written.back(), (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x1C, 0x00, 0x00}));
    EXPECT_EQ(text("InputReportID"), "F9");
    EXPECT_EQ(text("ReadBuffer"), "1C 01 03 00 05 00 00 00 00 00 00 00 00 00 00 00 00 ");
    EXPECT_EQ(text("WriteBuffer"), "00 08 15 EE 1C 00 00 ");
    EXPECT_EQ(console(), "tx: F9 00 08 15 EE 1C 00 00 \r\n"
                         "rx: F9 1C 01 03 00 05 00 00 00 00 00 00 00 00 00 00 00 00 \r\n");
    EXPECT_EQ(status(), "Write completed successfully! \r\nRead completed successfully!\r\n"
                        "Write/Read attempts: 1\r\n");
    button("Command4")->click();
    EXPECT_EQ(console(), "");
}

// On a 1280x720 screen the window fits, and the data fields show a whole answer of the
// interface (17 data bytes) and the longest preset, from the first byte to the last, even
// at the window's smallest size.
TEST_F(ConsoleTest, DataFieldsShowWholeReportsWithinA1280x720Screen) {
    load();
    EXPECT_LE(dialog->sizeHint().width(), 1280);
    EXPECT_LE(dialog->sizeHint().height(), 720);
    dialog->resize(dialog->minimumSizeHint());
    const QString answer = QStringLiteral("EE DD CC BB AA 99 88 77 66 55 44 33 22 11 00 FF 0D ");
    const QString format =
        QStringLiteral("01 72 5D 0D FE 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 18 A3 00 01 ");
    for (const char* name : {"ReadBuffer", "WriteBuffer"}) {
        for (const QString& report : {answer, format}) {
            QLineEdit* f = field(name);
            f->setText(report);
            f->end(false);
            f->grab(); // painting scrolls the text to the cursor when it does not fit
            EXPECT_EQ(f->cursorPositionAt(QPoint(0, f->height() / 2)), 0)
                << name << ": " << report.toStdString();
        }
    }
    // The device's ids and report lengths show whole too.
    for (const auto& [name, text] : {std::pair{"VendID", " 65535"}, std::pair{"ProdID", " 65535"},
                                     std::pair{"InRptLen", "101"}, std::pair{"OutRptLen", "101"}}) {
        QLineEdit* f = field(name);
        f->setText(QString::fromLatin1(text));
        f->end(false);
        f->grab();
        EXPECT_EQ(f->cursorPositionAt(QPoint(0, f->height() / 2)), 0) << name;
    }
}

TEST_F(ConsoleTest, ACustomButtonReplaysExactlyTheAssignedReport) {
    load();
    type("F9", "00 08 15 EE 10 00 00");
    button("Assign_Command_3")->click();
    EXPECT_EQ(button("Custom_Command_3")->text(), "F9 00 08 15 EE 10 00 00");
    EXPECT_EQ(button("Custom_Command_3")->toolTip(), "send F9 00 08 15 EE 10 00 00");
    type("01", "02");
    button("Custom_Command_3")->click();
    ASSERT_EQ(port.written.size(), 1u);
    EXPECT_EQ(port.written[0], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x10, 0x00, 0x00}));
    // The preset whose caption shows 00 00 sends 67 89.
    button("Command12")->click();
    EXPECT_EQ(port.written.back(), (Report{0xF9, 0x02, 0x02, 0xE0, 0x5F, 0x00, 0x67, 0x89}));
}

TEST_F(ConsoleTest, RefusedInputSendsNothingAndKeepsTheFields) {
    load();
    std::string many;
    for (int i = 0; i < 101; ++i)
        many += "01 ";
    many.pop_back();
    for (const auto& [id, data, attempts] :
         {std::tuple{"F9", std::string("1FF"), "1"}, std::tuple{"F9", many, "1"},
          std::tuple{"1FF", std::string("01"), "1"}, std::tuple{"F9", std::string("01"), "0"},
          std::tuple{"F9", std::string("hello world"), "1"},
          std::tuple{"F9x", std::string("01"), "1"}}) {
        type(id, data.c_str());
        field("ReadAttempts_Box")->setText(QString::fromLatin1(attempts));
        button("Send")->click();
        EXPECT_EQ(status().rfind("Not sent: ", 0), 0u) << data << " " << attempts;
        EXPECT_EQ(text("WriteBuffer"), data);
    }
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(console(), "");
}

TEST_F(ConsoleTest, ReportLengthsBeyondTheBuffersAreRefused) {
    load(8, 200);
    type("F9", "01");
    button("Send")->click();
    EXPECT_EQ(status().rfind("Not sent: report lengths", 0), 0u);
    EXPECT_TRUE(port.written.empty());
}

TEST_F(ConsoleTest, PastedLinesAndTabsBecomeBlanksInTheField) {
    load();
    QApplication::clipboard()->setText(QStringLiteral("01 02\r\n03\t04"));
    field("WriteBuffer")->paste();
    EXPECT_EQ(text("WriteBuffer"), "01 02 03 04");
    button("Send")->click();
    EXPECT_EQ(port.written.back(), (Report{0x00, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0x00}));
}

TEST_F(ConsoleTest, ADeviceUnpluggedWhileTheConsoleIsOpenFailsTheWrite) {
    answerVersion(port);
    load();
    port.leave();
    type("F9", "00 08 15 EE 1C 00 00");
    button("Send")->click();
    EXPECT_EQ(status(), "Write failed!\r\nRead failed! rdresult 0, inputReportLength 18\r\n"
                        "Write/Read attempts: 50\r\n");
    EXPECT_EQ(text("InputReportID"), ""); // no report came: none is shown
    button("CancelButton")->click();
    EXPECT_EQ(tavrel.openReads, 0);
}

} // namespace
} // namespace orvane::test
