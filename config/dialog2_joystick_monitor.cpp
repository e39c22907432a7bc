// The configuration dialog's part of the joystick monitor: its start while the dialog
// loads, its timer and its refresh.
#include "config/Dialog2.h"

#include <QTimer>

#include "config/joystick_monitor.h"
#include "shell/ui_services.h"

namespace orvane {

void Dialog2::connectJoystickMonitor() {
    JoystickMonitorControls controls;
    controls.list = lstListe_;
    controls.timer = timerJoy_;
    controls.axisBoxes = axisBox_;
    controls.labels = label31_;
    controls.buttons = buttonCheck_;
    joystickMonitor_ = new JoystickMonitor(context_.joystick, controls, this);
    connect(timerJoy_, &QTimer::timeout, this, [this] { TimerJoy_Timer(); });
}

// Without a usable joystick layer the program does not go on.
void Dialog2::startJoystickMonitor() {
    if (joystickMonitor_->start()) return;
    context_.ui.messageBox(this, MessageBoxRequest{"Direct Input konnte nicht initialisiert "
                                                   "werden!\rAnwendung wird beendet.",
                                                   {},
                                                   MessageIcon::Exclamation,
                                                   MessageButtons::Ok});
    emit programEndRequested();
    reject();
}

void Dialog2::TimerJoy_Timer() {
    joystickMonitor_->tick();
}

void Dialog2::updateJoystickMonitor() {
    joystickMonitor_->refresh();
}

} // namespace orvane
