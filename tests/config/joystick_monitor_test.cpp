// The joystick monitor of the configuration dialog against SDL's virtual joysticks.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <SDL.h>

#include "config/axis_box.h"
#include "config/joystick/sdl_joystick_source.h"
#include "config/joystick_monitor.h"
#include "dialog_fixture.h"
#include "joystick/virtual_joystick.h"

namespace orvane::test {
namespace {

class JoystickMonitorTest : public DialogTest {
protected:
    joystick::SdlJoystickSource joysticks;
    int programEnds = 0;

    void SetUp() override {
        ASSERT_EQ(SDL_NumJoysticks(), 0) << "needs a machine without joysticks";
        context.joystick = &joysticks;
    }
    // The dialog lets go of the joysticks before the source goes.
    void TearDown() override { dialog.reset(); }
    // Opened after the test attached its joysticks, as when the user opens the dialog.
    void open() {
        dialog = std::make_unique<Dialog2>(context);
        QObject::connect(dialog.get(), &Dialog2::programEndRequested, [this] { ++programEnds; });
        dialog->Form_Load();
    }

    QListWidget* list() const { return control<QListWidget>("lst_Liste"); }
    QStringList names() const {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    bool timerOn() const { return control<QTimer>("TimerJoy")->isActive(); }
    QString value(int axis) const {
        return control<QLabel>(("Label31_" + std::to_string(8 + axis)).c_str())->text();
    }
    double bar(int axis) const {
        return control<AxisBox>(("AxisBox_" + std::to_string(8 + axis)).c_str())->fill();
    }
    QCheckBox* box(int button) const {
        return control<QCheckBox>(("ButtonCheck_" + std::to_string(8 + button)).c_str());
    }
    std::vector<bool> boxes() const {
        std::vector<bool> out;
        for (int b = 0; b < 8; ++b)
            out.push_back(box(b)->isChecked());
        return out;
    }
};

TEST_F(JoystickMonitorTest, BarsAndValuesFollowTheAxesOnOneCommonScale) {
    VirtualJoystick stick("RC Stick", 8, 8);
    open();
    EXPECT_EQ(names(), QStringList{"RC Stick"});
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_TRUE(timerOn());

    for (int a = 3; a < 8; ++a)
        stick.setAxis(a, 32768);
    stick.setAxis(0, 65535);
    stick.setAxis(1, 32768);
    stick.setAxis(2, 384); // 1.5: halves go to the even neighbour
    stick.setButton(0, true);
    stick.setButton(7, true);
    dialog->TimerJoy_Timer();
    EXPECT_EQ(value(0), "256");
    EXPECT_EQ(value(1), "128");
    EXPECT_EQ(value(2), "2");
    EXPECT_EQ(boxes(), (std::vector<bool>{true, false, false, false, false, false, false, true}));
    // Every bar is drawn against the widest range any axis reached.
    EXPECT_DOUBLE_EQ(bar(0), 256.0 / 257.0);
    EXPECT_DOUBLE_EQ(bar(1), 128.0 / 257.0);

    // The scale stays when the axis that set it comes back.
    stick.setAxis(0, 32768);
    dialog->updateJoystickMonitor();
    EXPECT_EQ(value(0), "128");
    EXPECT_DOUBLE_EQ(bar(7), 128.0 / 257.0);
    EXPECT_EQ(dialog->joystickMonitor().axisMax(), 256);
    EXPECT_EQ(dialog->joystickMonitor().axisMin(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JoystickMonitorTest, ButtonsAndAxesBeyondTheJoysticksOwnStayClearedAndSelectionSwitches) {
    VirtualJoystick small("Four", 2, 4);
    VirtualJoystick large("Twelve", 8, 12);
    for (int b = 0; b < 12; ++b) {
        if (b < 4) small.setButton(b, true);
        large.setButton(b, true);
    }
    large.setAxis(5, 65535);
    open();
    EXPECT_EQ(names(), (QStringList{"Four", "Twelve"}));
    for (int b = 0; b < 8; ++b)
        box(b)->setChecked(true);

    dialog->updateJoystickMonitor();
    EXPECT_EQ(boxes(), (std::vector<bool>{true, true, true, true, false, false, false, false}));
    EXPECT_EQ(value(1), "128");
    EXPECT_EQ(value(5), "0");

    list()->setCurrentRow(1);
    dialog->updateJoystickMonitor();
    EXPECT_EQ(boxes(), std::vector<bool>(8, true));
    EXPECT_EQ(value(5), "256");
}

TEST_F(JoystickMonitorTest, WithoutJoysticksTheDialogOpensAndTheMonitorStaysStill) {
    open();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_FALSE(timerOn());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(programEnds, 0);
    EXPECT_EQ(value(0), "");

    // A joystick plugged in later is listed, selected and monitored.
    VirtualJoystick stick("Late", 8, 8);
    dialog->joystickMonitor().followJoystickList();
    EXPECT_EQ(names(), QStringList{"Late"});
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_TRUE(timerOn());
}

TEST_F(JoystickMonitorTest, UnpluggedJoystickReadsZeroAndOffAndComesBack) {
    VirtualJoystick other("Other", 8, 8);
    VirtualJoystick stick("RC Stick", 8, 8);
    stick.setAxis(0, 65535);
    stick.setButton(2, true);
    open();
    list()->setCurrentRow(1);
    dialog->TimerJoy_Timer();
    EXPECT_EQ(value(0), "256");
    EXPECT_TRUE(box(2)->isChecked());

    stick.detach();
    dialog->TimerJoy_Timer();
    EXPECT_EQ(names(), QStringList{"Other"});
    EXPECT_EQ(list()->currentRow(), -1);
    EXPECT_EQ(value(0), "0");
    EXPECT_FALSE(box(2)->isChecked());
    EXPECT_TRUE(timerOn());

    stick.attach();
    stick.setAxis(0, 49152);
    dialog->TimerJoy_Timer();
    EXPECT_EQ(names(), (QStringList{"Other", "RC Stick"}));
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(value(0), "192");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JoystickMonitorTest, PausedMonitorSkipsItsTicks) {
    VirtualJoystick stick("RC Stick", 8, 8);
    open();
    stick.setAxis(0, 65535);
    {
        const JoystickMonitor::Paused paused(dialog->joystickMonitor());
        dialog->TimerJoy_Timer();
        EXPECT_EQ(value(0), "");
    }
    dialog->TimerJoy_Timer();
    EXPECT_EQ(value(0), "256");
}

// A joystick layer that cannot be prepared.
class BrokenSource : public joystick::JoystickSource {
public:
    bool initDirectInput() override { return false; }
    bool updateJoystickList() override { return false; }
    const std::vector<joystick::JoystickEntry>& joysticks() const override { return none_; }
    joystick::JoystickAxes readJoystickAxes(int) override { return {}; }
    joystick::JoystickButtons readJoystickButtons(int) override { return {}; }
    void releaseDirectInput() override {}

private:
    std::vector<joystick::JoystickEntry> none_;
};

TEST_F(JoystickMonitorTest, UnusableJoystickLayerEndsTheProgramAfterItsMessage) {
    BrokenSource broken;
    context.joystick = &broken;
    open();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Direct Input konnte nicht initialisiert werden!\rAnwendung wird beendet.");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(timerOn());
}

} // namespace
} // namespace orvane::test
