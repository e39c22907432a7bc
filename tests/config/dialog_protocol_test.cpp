// The dialog talking to a scripted interface through the fake report port: the start-up
// read, Transmit, Store and Exit, refused input, and a close during a sequence.
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "dialog_fixture.h"
#include "fake_interface.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

struct ProtocolTest : DialogTest {
    FakeInterface device;

    int count(const QString& text, const QString& what) const { return text.count(what); }
    std::string status() const {
        return control<QPlainTextEdit>("Status")->toPlainText().toStdString();
    }
};

TEST_F(ProtocolTest, StartupReadFillsEveryControlUnlocksAndLogsEachCommand) {
    device.config = distinctiveConfiguration();
    device.attach(port, 1500us);
    port.stream(Report{0x01, 0x80}, 10ms);
    clock.advance(5s); // the dialog sat idle: the queue is full
    int versions = 0;
    QObject::connect(dialog.get(), &Dialog2::firmwareVersionRead,
                     [&](int major, int minor, int) { versions += major == 1 && minor == 3; });

    dialog->TimerStartupRead_Timer();

    EXPECT_FALSE(control<QTimer>("TimerStartupRead")->isActive());
    const QString log = dialog->logText();
    EXPECT_TRUE(log.startsWith("joyFilter on\r\nPUT: F9 00 08 15 EE 01 00 00 \r\nget: F9 01"));
    EXPECT_EQ(count(log, "PUT: "), 20);
    EXPECT_EQ(count(log, "get: "), 20);
    EXPECT_EQ(count(log, "get: 01"), 0);
    EXPECT_EQ(port.written.size(), 20u);

    config::Configuration expected = device.config;
    expected.bootloaderEnable = false;
    EXPECT_EQ(dialog->configuration(), expected);
    EXPECT_EQ(slider("Slider1_3")->value(), 8);
    EXPECT_EQ(slider("Slider2_7")->value(), 255);
    EXPECT_TRUE(control<QRadioButton>("Option1_1")->isChecked());
    EXPECT_EQ(dialog->windowTitle(), "Configuration - FW v1.3.5");
    EXPECT_EQ(versions, 1);
    EXPECT_TRUE(control<QGroupBox>("Frame8_0")->isEnabled());
    EXPECT_TRUE(control<QRadioButton>("Option1_0")->isEnabled());
    EXPECT_EQ(text("Text1_0"), "41") << "the panel shows mixer 1 after the read";
    EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 100);
    EXPECT_EQ(control<QPushButton>("Command6")->text(), "&Load from Interface");
    EXPECT_TRUE(control<QPushButton>("Command6")->isEnabled());
    EXPECT_FALSE(dialog->sequenceRunning());
}

TEST_F(ProtocolTest, ADeviceThatNeverAnswersLeavesTheDialogAsItWasWithinTheBound) {
    port.stream(Report{0x01, 0x80}, 10ms);
    const QString title = dialog->windowTitle();
    const auto before = dialog->configuration();
    const auto start = clock.now();
    dialog->Command6_Click();
    EXPECT_LE(clock.now() - start, 20 * 100ms);
    EXPECT_EQ(count(dialog->logText(), "PUT: "), 20);
    EXPECT_EQ(count(dialog->logText(), "get: "), 20) << "every exchange keeps its log lines";
    // The end of the read says so on the Configuration tab and in the status.
    const std::string said =
        "The read did not fully happen: 20 of 20 commands failed (20 not answered). Nothing "
        "was read: the controls do not show the interface's configuration.";
    EXPECT_EQ(dialog->sequenceOutcomeText().toStdString(), said);
    EXPECT_TRUE(control<QLabel>("SequenceOutcome")->isVisibleTo(dialog.get()));
    EXPECT_EQ(status(), said + "\n");
    EXPECT_EQ(dialog->configuration(), before);
    EXPECT_EQ(dialog->windowTitle(), title);
    EXPECT_FALSE(control<QGroupBox>("Frame8_0")->isEnabled());
    EXPECT_FALSE(control<QRadioButton>("Option1_1")->isEnabled());
}

TEST_F(ProtocolTest, TransmitSendsTheEditedRecord) {
    device.attach(port);
    dialog->bStickMode4_Click();
    slider("Slider2_2")->setValue(200);
    control<QPushButton>("Command14")->click();
    ASSERT_EQ(port.written.size(), 54u);
    EXPECT_EQ(port.written[1], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x07, 0xFF, 0x11}));
    EXPECT_EQ(port.written[53], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(device.config.axisChannel, (std::array<int, 8>{3, 4, 1, 2, 5, 6, 7, 8}));
    EXPECT_EQ(device.config.buttonThreshold[2], 200);
    EXPECT_EQ(control<QPushButton>("Command14")->text(), "&Transmit to Interface");

    control<QCheckBox>("Bootloader_Checkbox")->setChecked(true);
    dialog->Command14_Click();
    EXPECT_EQ(port.written[55], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0x07, 0xFF, 0xFF}));
}

TEST_F(ProtocolTest, TransmittingWhatWasNeverReadAsksFirst) {
    device.attach(port);
    ui.answers.push_back(MessageResult::No);
    click("Command14");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(port.written.empty()) << "No sends nothing";

    // An answer the interface cannot hold leaves the read incomplete: still asked.
    device.config.decodingMode = 3;
    dialog->Command6_Click();
    EXPECT_NE(dialog->sequenceOutcomeText().indexOf("answer 1D (decoding mode 3)"), -1)
        << dialog->sequenceOutcomeText().toStdString();
    click("Command14");
    EXPECT_EQ(ui.messages.size(), 2u);

    device.config.decodingMode = 1;
    dialog->Command6_Click();
    EXPECT_EQ(dialog->sequenceOutcomeText(),
              "Configuration read from the interface: all 20 commands answered.");
    click("Command14");
    EXPECT_EQ(ui.messages.size(), 2u) << "read in full: no question";
}

TEST_F(ProtocolTest, ATransmitThatFailedHalfwaySaysSoAndStoringOrClosingAsksFirst) {
    device.attach(port);
    dialog->Command6_Click();
    dialog->show();
    port.writeResults.assign(27, 8);
    port.writeResults.push_back(-1); // the 28th request of the transmission
    click("Command14");
    ASSERT_EQ(port.written.size(), 20u + 53u);
    EXPECT_EQ(count(dialog->logText(), "PUT: "), 20 + 54);
    const std::string said =
        "The transmission did not fully happen: 1 of 54 commands failed (1 not written). Until "
        "it is reconnected, the interface may run a mix of old and new values; its stored "
        "configuration is untouched.";
    EXPECT_EQ(dialog->sequenceOutcomeText().toStdString(), said);
    EXPECT_EQ(status(), said + "\n");

    ui.answers = {MessageResult::No, MessageResult::No};
    click("CancelButton_0");
    click("Command1");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(port.written.size(), 73u) << "storing was declined";
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto& question : ui.messages) {
        EXPECT_EQ(question.buttons, MessageButtons::YesNo);
        EXPECT_NE(question.text.find("1 of 54 commands failed"), std::string::npos);
    }

    click("Command14"); // a full transmission: closing asks no more
    click("CancelButton_0");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(ProtocolTest, StoreAndExitSendsTwoRequestsClosesTheDeviceAndAsksToReconnect) {
    port.stream(Report{0x01}, 10ms); // and the store is never answered
    dialog->show();
    control<QPushButton>("Command1")->click();
    ASSERT_EQ(port.written.size(), 2u);
    EXPECT_EQ(port.written[0][5], 0x01);
    EXPECT_EQ(port.written[1], (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, 0xFF, 0x01, 0x00}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Storing did not fully happen: 2 of 2 commands failed (2 not answered). The "
              "store command was sent but its answer did not come: the interface may or may "
              "not have stored its configuration.\r\n"
              "USB-Interface should be detached and reattached to apply all changes");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_GE(tavrel.closeReads, 1);
    EXPECT_GE(tavrel.closeWrites, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ProtocolTest, InputTheBuffersCannotHoldIsRefusedBeforeAnythingIsSent) {
    device.attach(port);
    field("OutputReportID_0")->setText("F9");
    field("WriteBuffer_1")->setText("00 08 15 EE 1FF 00 00");
    click("Send");
    EXPECT_EQ(status(), "Not sent: Byte 5 \"1FF\" is above FF.\n");
    EXPECT_EQ(text("WriteBuffer_1"), "00 08 15 EE 1FF 00 00") << "kept for correcting";

    DeviceValues wide;
    wide.outputReportLen = 200;
    wide.inputReportLen = 18;
    dialog->setDeviceValues(wide);
    field("WriteBuffer_1")->setText("00 08 15 EE 10 00 00");
    click("Send");
    EXPECT_NE(status().find("do not fit the 101-byte report buffers"), std::string::npos);
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(dialog->logText().count("PUT: "), 0);
}

TEST_F(ProtocolTest, SendNormalizesThePanelAndShowsTheAnswer) {
    device.attach(port);
    field("OutputReportID_0")->setText("f9");
    field("WriteBuffer_1")->setText("0 8 15 ee 1c");
    click("Send");
    EXPECT_EQ(text("OutputReportID_0"), "F9");
    EXPECT_EQ(text("WriteBuffer_1"), "00 08 15 EE 1C 00 00 ");
    EXPECT_EQ(text("InputReportID_1"), "F9");
    EXPECT_EQ(text("ReadBuffer_0").substr(0, 15), "1C 01 03 00 05 ");
    EXPECT_EQ(status(), "Write completed successfully! \nRead completed successfully!\n"
                        "Write/Read attempts: 1\n");
}

TEST_F(ProtocolTest, EachOneCommandButtonSendsItsRequest) {
    const std::vector<std::pair<const char*, std::array<uint8_t, 3>>> buttons = {
        {"Command11", {0x01, 0, 0}}, {"Command12", {0xFF, 0, 0}}, {"Command20", {0xFF, 1, 0}},
        {"Command13", {0x10, 0, 0}}, {"Command3", {0x11, 0, 0}},  {"Command4", {0x12, 0, 0}},
        {"Command5", {0x13, 0, 0}},  {"Command8", {0x14, 0, 0}},  {"Command10", {0x15, 0, 0}},
        {"Command15", {0x16, 0, 0}}, {"Command19", {0x17, 0, 0}}, {"Command21", {0x18, 0, 0}},
        {"Command22", {0x19, 0, 0}}, {"Command23", {0x1A, 0, 0}}, {"Command24", {0x1B, 0, 0}},
        {"Command28", {0x1C, 0, 0}}, {"Command27", {0x1D, 0, 0}}, {"Command29", {0x1E, 0, 0}},
        {"Command30", {0x1F, 0, 0}}, {"Command31", {0xA0, 0, 0}}, {"Command32", {0xA1, 0, 0}},
    };
    for (const auto& [name, bytes] : buttons) {
        click(name);
        ASSERT_FALSE(port.written.empty()) << name;
        EXPECT_EQ(port.written.back(),
                  (Report{0xF9, 0x00, 0x08, 0x15, 0xEE, bytes[0], bytes[1], bytes[2]}))
            << name;
        port.written.clear();
    }
}

TEST_F(ProtocolTest, AskingToCloseDuringASequenceClosesAfterIt) {
    device.attach(port);
    bool sawRunning = false;
    const auto answer = port.onRequest;
    port.onRequest = [&](FakeReportPort& p, const Report& q) {
        sawRunning = sawRunning || dialog->sequenceRunning();
        if (p.written.size() == 3) dialog->reject();
        answer(p, q);
    };
    dialog->show();
    dialog->Command6_Click();
    EXPECT_TRUE(sawRunning);
    EXPECT_EQ(port.written.size(), 20u) << "the read ran to its end";
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(tavrel.closeReads, 1);
}

// Store keeps what the interface holds; when the controls show something else the user
// chooses first, and the message names what was stored.
TEST_F(ProtocolTest, StoreAfterAnUntransmittedEditAsksWhichValuesToStore) {
    device.attach(port);
    dialog->Command6_Click();
    dialog->show();
    slider("Slider1_0")->setValue(5);
    EXPECT_EQ(dialog->windowTitle(), "*Configuration - FW v1.3.5");
    ui.answers = {MessageResult::Cancel, MessageResult::No}; // Go Back, then the interface's
    click("Command1");
    EXPECT_EQ(port.written.size(), 20u);
    EXPECT_TRUE(dialog->isVisible());
    click("Command1");
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[1].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(device.config.axisChannel[0], 1);
    EXPECT_EQ(device.stores, 1);
    EXPECT_EQ(ui.messages[2].text.rfind("The interface's own values were stored; the values "
                                        "shown were neither transmitted nor stored.",
                                        0),
              0u);

    // An edit undone asks nothing.
    dialog = openDialog();
    dialog->Command6_Click();
    dialog->show();
    slider("Slider1_0")->setValue(4);
    slider("Slider1_0")->setValue(1);
    EXPECT_EQ(dialog->windowTitle(), "Configuration - FW v1.3.5");
    click("Command1");
    EXPECT_EQ(ui.messages.size(), 4u) << "only the reattach message";
}

// A close asked for while a sequence runs waits for its end and then shows its outcome.
TEST_F(ProtocolTest, EscapeDuringATransmitClosesOnlyAfterItsOutcomeWasSeen) {
    device.attach(port);
    dialog->Command6_Click();
    dialog->show();
    slider("Slider2_0")->setValue(10);
    const auto answer = port.onRequest;
    port.onRequest = [&](FakeReportPort& p, const Report& q) {
        if (p.written.size() == 30) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog.get(), &escape);
        }
        answer(p, q);
    };
    ui.answers.push_back(MessageResult::No);
    click("Command14");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Configuration transmitted to the interface: all 54 commands "
                                   "answered (not stored yet).\r\nThe window was asked to close "
                                   "while this ran. Close it now?");
    EXPECT_TRUE(dialog->isVisible());
    click("CancelButton_0"); // transmitted: nothing to lose, nothing asked
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ProtocolTest, ACloseDuringATransmitThatFailsAsksAboutTheFailure) {
    device.attach(port);
    dialog->Command6_Click();
    dialog->show();
    const auto answer = port.onRequest;
    port.onRequest = [&](FakeReportPort& p, const Report& q) {
        if (p.written.size() == 30) dialog->reject();
        if (p.written.size() != 40) answer(p, q);
    };
    ui.answers.push_back(MessageResult::No);
    click("Command14");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("1 of 54 commands failed"), std::string::npos);
    EXPECT_TRUE(dialog->isVisible());
}

} // namespace
} // namespace orvane::test
