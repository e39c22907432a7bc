#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include "dialog_fixture.h"

namespace orvane::test {
namespace {

using EditorTest = DialogTest;

std::array<int, 8> axisChannels(const Dialog2& d) {
    std::array<int, 8> out{};
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] = d.axisChannel(i);
    return out;
}

TEST_F(EditorTest, LoadShowsTheDeviceAndStartsLocked) {
    EXPECT_EQ(text("ProdID"), " 25637");
    EXPECT_EQ(text("VendID"), " 21375");
    EXPECT_EQ(text("SerNum"), "0001");
    EXPECT_EQ(text("DevName"), "RCUSBInterface");
    EXPECT_EQ(text("InRptLen"), "18");
    EXPECT_EQ(text("OutRptLen"), "8");
    EXPECT_EQ(control<QPlainTextEdit>("Status")->toPlainText(), "Open Completed!");
    EXPECT_EQ(text("OutputReportID_0"), "0");
    EXPECT_EQ(text("InputReportID_1"), "0");
    EXPECT_EQ(text("WriteBuffer_1"), "");
    EXPECT_EQ(text("ReadBuffer_0"), "");
    EXPECT_FALSE(dialog->filterJoy());
    EXPECT_EQ(dialog->annotations(), "");

    EXPECT_FALSE(control<QGroupBox>("Frame8_0")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Command7")->isEnabled());
    EXPECT_FALSE(control<QRadioButton>("Option1_0")->isEnabled());
    EXPECT_FALSE(control<QRadioButton>("Option1_1")->isEnabled());
    EXPECT_FALSE(dialog->decodingOptionSelected(0));
    EXPECT_FALSE(dialog->decodingOptionSelected(1));
    EXPECT_EQ(dialog->decodingMode(), 0);
    EXPECT_EQ(slider("Slider8")->value(), 1);
    EXPECT_EQ(slider("Slider1_0")->value(), 1);
    EXPECT_EQ(slider("Slider2_7")->value(), 0);
    EXPECT_TRUE(control<QTimer>("TimerStartupRead")->isActive()) << "the start-up read is due";
    EXPECT_FALSE(control<QTimer>("TimerJoy")->isActive());

    dialog->enableMixerControls(true);
    dialog->enableDecodingModeControls(true);
    EXPECT_TRUE(control<QGroupBox>("Frame8_0")->isEnabled());
    EXPECT_TRUE(control<QLabel>("Label27_0")->isEnabled());
    EXPECT_TRUE(control<QRadioButton>("Option1_1")->isEnabled());
}

TEST_F(EditorTest, FilterSwitchLogsItsStateAndClearEmptiesOnlyTheLog) {
    click("Command9");
    EXPECT_TRUE(dialog->filterJoy());
    click("Command9");
    EXPECT_FALSE(dialog->filterJoy());
    EXPECT_EQ(dialog->logText(), "joyFilter on\r\njoyFilter off\r\n");
    EXPECT_EQ(control<QPlainTextEdit>("logBox")->toPlainText(), "joyFilter on\njoyFilter off\n");
    click("Command2");
    EXPECT_EQ(dialog->logText(), "");
    EXPECT_EQ(control<QPlainTextEdit>("logBox")->toPlainText(), "");
    EXPECT_EQ(dialog->statusText(), "Open Completed!");
}

TEST_F(EditorTest, NegativeDeviceNumbersShowTheirSign) {
    DeviceValues values;
    values.vendorId = -2;
    auto d = std::make_unique<Dialog2>(context);
    d->setDeviceValues(values);
    d->Form_Load();
    EXPECT_EQ(d->findChild<QLineEdit*>("VendID")->text(), "-2");
}

TEST_F(EditorTest, TheFirstShowLoadsTheWindowAndClosingStopsItsTimers) {
    auto d = std::make_unique<Dialog2>(context);
    auto* status = d->findChild<QPlainTextEdit*>("Status");
    EXPECT_EQ(status->toPlainText(), "");
    d->show();
    EXPECT_EQ(status->toPlainText(), "Open Completed!");
    status->clear();
    d->hide();
    d->show();
    EXPECT_EQ(status->toPlainText(), "") << "loads once per opening";
    d->findChild<QTimer*>("TimerJoy")->start();
    d->findChild<QPushButton*>("CancelButton_0")->click();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_FALSE(d->findChild<QTimer*>("TimerJoy")->isActive());
}

// A 1280 x 720 screen less a panel and a title bar leaves about 1280 x 650: the dialog
// fits, its buttons stay in view and its pages scroll down to their last control. A new
// dialog is no larger than the screen.
TEST_F(EditorTest, FitsASmallScreenWithScrollingPages) {
    const QSize room(1280, 650);
    EXPECT_LE(dialog->minimumSizeHint().width(), room.width());
    EXPECT_LE(dialog->minimumSizeHint().height(), room.height());
    EXPECT_LE(dialog->sizeHint().width(), room.width());
    EXPECT_LE(dialog->sizeHint().height(), room.height());
    EXPECT_TRUE(dialog->screen()->availableGeometry().size().expandedTo(dialog->size()) ==
                dialog->screen()->availableGeometry().size());

    dialog->resize(room);
    dialog->show();
    EXPECT_EQ(dialog->size(), room);
    auto* cancel = control<QPushButton>("CancelButton_0");
    EXPECT_TRUE(
        dialog->rect().contains(QRect(cancel->mapTo(dialog.get(), QPoint()), cancel->size())));
    auto* area = control<QScrollArea>("pagesArea");
    auto* last = control<QSlider>("Slider2_7");
    area->ensureWidgetVisible(last);
    EXPECT_TRUE(area->viewport()->rect().contains(
        QRect(last->mapTo(area->viewport(), QPoint()), last->size())));
}

TEST_F(EditorTest, SlidersHaveTheirRangesStepsAndTicks) {
    struct Expect {
        const char* name;
        int min, max, ticks, page;
    };
    for (const Expect& e :
         {Expect{"Slider1_0", 1, 8, 1, 5}, Expect{"Slider1_7", 1, 8, 1, 5},
          Expect{"Slider3_4", 1, 8, 1, 5}, Expect{"Slider2_3", 0, 255, 10, 5},
          Expect{"Slider4_0", 1, 8, 1, 1}, Expect{"Slider4_1", 1, 8, 1, 1},
          Expect{"Slider8", 1, 8, 1, 5}, Expect{"Slider5", 0, 255, 20, 5},
          Expect{"Slider6", -128, 127, 20, 5}, Expect{"Slider7", 0, 255, 20, 5},
          Expect{"Slider9", -128, 127, 20, 5}, Expect{"Slider10", 0, 255, 20, 5}}) {
        QSlider* s = slider(e.name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->orientation(), Qt::Horizontal) << e.name;
        EXPECT_EQ(s->minimum(), e.min) << e.name;
        EXPECT_EQ(s->maximum(), e.max) << e.name;
        EXPECT_EQ(s->tickInterval(), e.ticks) << e.name;
        EXPECT_EQ(s->pageStep(), e.page) << e.name;
        EXPECT_EQ(s->singleStep(), 1) << e.name;
    }
    for (int i = 8; i <= 15; ++i) {
        for (const char* array : {"AxisBox", "Label31", "ButtonCheck"}) {
            const QString name = QString("%1_%2").arg(array).arg(i);
            EXPECT_NE(dialog->findChild<QWidget*>(name), nullptr) << name.toStdString();
        }
    }
    EXPECT_EQ(control<QTimer>("TimerStartupRead")->interval(), 100);
    EXPECT_EQ(control<QTimer>("TimerJoy")->interval(), 50);
}

TEST_F(EditorTest, CaptionsFollowTheLanguageAndFixedTextsStay) {
    EXPECT_EQ(control<QAbstractButton>("Command1")->text(), "Store in &Interface && Exit");
    EXPECT_EQ(control<QGroupBox>("Frame4_0")->title(), "Assign R/C channels to buttons");
    EXPECT_EQ(control<QLabel>("Label28_3")->text(), "Quadratic");
    EXPECT_EQ(control<QLabel>("Label29_1")->text(), "Exponent");
    EXPECT_EQ(control<QAbstractButton>("CancelButton_0")->text(), "&Cancel");

    language.offset = 0;
    dialog->updateLocalization();
    EXPECT_EQ(control<QAbstractButton>("Command1")->text(), "In Interface &speichern && schließen");
    EXPECT_EQ(control<QGroupBox>("Frame8_0")->title(), "Mischer");
    EXPECT_EQ(control<QAbstractButton>("Bootloader_Checkbox")->text(), "Bootloader aktivieren");
    EXPECT_EQ(control<QLabel>("Label7")->text(), "Taste auslösen, wenn Kanal-Position größer als");
    EXPECT_EQ(control<QAbstractButton>("Option1_1")->text(), "ZT 0415 PCM");
    EXPECT_EQ(control<QAbstractButton>("Command20")->text(),
              "Exit and Save               00 08 15 EE FF 01 00");
    EXPECT_EQ(control<QAbstractButton>("Command5")->text(),
              "GetTrigger Level 5-7 00 08 15 EE 13 00 00");
    EXPECT_EQ(control<QGroupBox>("Frame2")->toolTip(),
              "change R/C channel -> joystick axis assignment");
    EXPECT_EQ(control<QAbstractButton>("Command25")->toolTip(),
              "Open confiration file and load settings");
}

TEST_F(EditorTest, StickModesSetOnlyTheAxisChannels) {
    dialog->setAxisInvert(2, true);
    dialog->setButtonChannel(0, 6);
    const std::array<std::array<int, 8>, 4> expected = {{{1, 2, 3, 4, 5, 6, 7, 8},
                                                         {3, 2, 1, 4, 5, 6, 7, 8},
                                                         {1, 4, 3, 2, 5, 6, 7, 8},
                                                         {3, 4, 1, 2, 5, 6, 7, 8}}};
    for (int mode = 1; mode <= 4; ++mode) {
        for (int i = 4; i < 8; ++i)
            dialog->setAxisChannel(i, 1);
        click(QString("bStickMode%1").arg(mode).toLatin1().constData());
        EXPECT_EQ(axisChannels(*dialog), expected[static_cast<std::size_t>(mode - 1)]) << mode;
    }
    EXPECT_TRUE(dialog->axisInvert(2));
    EXPECT_EQ(dialog->buttonChannel(0), 6);
}

TEST_F(EditorTest, RfG2SetsChannelsAndAllInvertFlags) {
    for (int i = 0; i < 8; ++i)
        dialog->setAxisInvert(i, true);
    click("bRFG2");
    EXPECT_EQ(axisChannels(*dialog), (std::array<int, 8>{1, 2, 4, 7, 3, 6, 5, 4}));
    const std::array<bool, 8> invert = {false, true, true, false, false, false, true, false};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(dialog->axisInvert(i), invert[static_cast<std::size_t>(i)]) << i;
}

TEST_F(EditorTest, ButtonPresetsSetTheirTables) {
    struct Row {
        std::array<bool, 8> invert;
        std::array<int, 8> channel;
        std::array<int, 8> threshold;
    };
    const auto check = [&](const Row& row, bool active) {
        for (int i = 0; i < 8; ++i) {
            const auto k = static_cast<std::size_t>(i);
            EXPECT_EQ(dialog->buttonActive(i), active) << i;
            EXPECT_EQ(dialog->buttonInvert(i), row.invert[k]) << i;
            EXPECT_EQ(dialog->buttonChannel(i), row.channel[k]) << i;
            EXPECT_EQ(dialog->buttonThreshold(i), row.threshold[k]) << i;
        }
    };
    const Row fifth = {{false, false, false, false, true, true, true, true},
                       {5, 6, 7, 8, 5, 6, 7, 8},
                       {162, 162, 162, 162, 95, 95, 95, 95}};
    const Row third = {{false, false, false, false, false, true, true, true},
                       {3, 5, 6, 7, 8, 5, 6, 7},
                       {225, 162, 162, 162, 162, 95, 95, 95}};
    click("Command18");
    check(third, true);
    click("Command17");
    check(fifth, true);
    click("Command16");
    check(fifth, false); // only the active flags go off
    click("Command17");
    check(fifth, true);
    EXPECT_EQ(axisChannels(*dialog), (std::array<int, 8>{1, 1, 1, 1, 1, 1, 1, 1}));
}

TEST_F(EditorTest, DecodingOptionsSelectOneButAllowNeither) {
    dialog->enableDecodingModeControls(true);
    click("Option1_1");
    EXPECT_EQ(dialog->decodingMode(), 1);
    EXPECT_TRUE(dialog->decodingOptionSelected(1));
    click("Option1_1"); // a second click keeps it selected
    EXPECT_TRUE(dialog->decodingOptionSelected(1));
    click("Option1_0");
    EXPECT_EQ(dialog->decodingMode(), 0);
    EXPECT_TRUE(dialog->decodingOptionSelected(0));
    EXPECT_FALSE(dialog->decodingOptionSelected(1));

    auto items = dialog->snapshot();
    items.option = {false, false};
    items.decodingMode = 1;
    dialog->applySnapshot(items);
    EXPECT_FALSE(dialog->decodingOptionSelected(0));
    EXPECT_FALSE(dialog->decodingOptionSelected(1));
    EXPECT_EQ(dialog->decodingMode(), 1);
}

TEST_F(EditorTest, BootloaderWarningOnNewerSystemsOnly) {
    os.record = {2, 6, 1, 7601, {}};
    click("Bootloader_Checkbox");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Bootloader (Interface of year 2006 or older) is incompatible with " +
                  os.versionName() + "\r\nOnly enable if you are sure of it.");
    EXPECT_EQ(ui.messages[0].title, "Orvane");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(dialog->bootloaderEnable());

    click("Bootloader_Checkbox"); // unchecking shows nothing
    EXPECT_FALSE(dialog->bootloaderEnable());
    EXPECT_EQ(ui.messages.size(), 1u);

    language.offset = 0;
    click("Bootloader_Checkbox");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text.rfind("Der Bootloader älterer Interfaces (Jahr 2006) ist "
                                        "inkompatibel zu ",
                                        0),
              0u);

    click("Bootloader_Checkbox");
    os.record = {2, 5, 1, 2600, {}}; // the XP family
    click("Bootloader_Checkbox");
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(dialog->bootloaderEnable());
}

} // namespace
} // namespace orvane::test
