// The joystick monitor of the configuration dialog: the list of joysticks, and per axis a
// bar with its value, per button an indicator box, refreshed from the joystick layer.
#ifndef ORVANE_CONFIG_JOYSTICK_MONITOR_H
#define ORVANE_CONFIG_JOYSTICK_MONITOR_H

#include <QObject>

#include <array>

#include "config/joystick/axis_scale.h"
#include "config/joystick/monitored_joystick.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QTimer;

namespace orvane {

class AxisBox;

namespace joystick {
class JoystickSource;
}

struct JoystickMonitorControls {
    QListWidget* list = nullptr; // lst_Liste
    QTimer* timer = nullptr;     // TimerJoy
    std::array<AxisBox*, 8> axisBoxes{};
    std::array<QLabel*, 8> labels{};
    std::array<QCheckBox*, 8> buttons{};
};

class JoystickMonitor : public QObject {
    Q_OBJECT
public:
    // Without a source there is nothing to monitor: the list stays empty.
    JoystickMonitor(joystick::JoystickSource* source, const JoystickMonitorControls& controls,
                    QObject* parent);
    ~JoystickMonitor() override;

    // Prepares the joysticks, lists them and starts the timer when there is one; false when
    // the joystick layer cannot be used.
    bool start();
    // Lets go of the joysticks; the monitor then stays still.
    void release();
    // One tick of TimerJoy: joysticks plugged in or out, then one refresh. Nothing while
    // paused.
    void tick();
    // One refresh of the bars, values and button boxes from the selected joystick.
    void refresh();
    // Takes in joysticks plugged in or out: the list follows, the monitored joystick keeps
    // its line, and the timer starts with the first joystick.
    void followJoystickList();

    // A configuration transfer holds the monitor still while it runs; pauses nest.
    void pause() { ++pauses_; }
    void resume();
    bool paused() const { return pauses_ > 0; }
    class Paused {
    public:
        explicit Paused(JoystickMonitor& monitor) : monitor_(monitor) { monitor_.pause(); }
        ~Paused() { monitor_.resume(); }
        Paused(const Paused&) = delete;
        Paused& operator=(const Paused&) = delete;

    private:
        JoystickMonitor& monitor_;
    };

    int16_t axisMax() const { return scale_.axisMax(); }
    int16_t axisMin() const { return scale_.axisMin(); }

private:
    void fillList();

    joystick::JoystickSource* source_;
    JoystickMonitorControls controls_;
    QTimer* listWatch_;
    joystick::AxisScale scale_;
    joystick::MonitoredJoystick monitored_;
    bool prepared_ = false;
    int pauses_ = 0;
};

} // namespace orvane

#endif
