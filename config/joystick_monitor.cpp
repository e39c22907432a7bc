#include "config/joystick_monitor.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>

#include "config/axis_box.h"
#include "config/joystick/joystick_source.h"

namespace orvane {
namespace {
// While TimerJoy is off (no joystick yet) a slower look finds the first one plugged in.
constexpr int kListWatchMs = 1000;
} // namespace

JoystickMonitor::JoystickMonitor(joystick::JoystickSource* source,
                                 const JoystickMonitorControls& controls, QObject* parent)
    : QObject(parent), source_(source), controls_(controls), listWatch_(new QTimer(this)) {
    listWatch_->setObjectName(QStringLiteral("joystickListWatch"));
    listWatch_->setInterval(kListWatchMs);
    connect(listWatch_, &QTimer::timeout, this, [this] {
        if (!paused() && !controls_.timer->isActive()) followJoystickList();
    });
    // Only the user's choice arrives here: the list is refilled with signals blocked.
    connect(controls_.list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (prepared_) monitored_.select(source_->joysticks(), row);
    });
}

JoystickMonitor::~JoystickMonitor() {
    release();
}

bool JoystickMonitor::start() {
    controls_.list->clear();
    if (!source_) return true;
    if (!source_->initDirectInput()) return false;
    prepared_ = true;
    fillList();
    if (controls_.list->count() > 0) controls_.timer->start();
    listWatch_->start();
    return true;
}

void JoystickMonitor::release() {
    listWatch_->stop();
    if (!prepared_) return;
    prepared_ = false;
    source_->releaseDirectInput();
}

void JoystickMonitor::resume() {
    if (pauses_ > 0) --pauses_;
}

void JoystickMonitor::tick() {
    if (paused()) return;
    followJoystickList();
    refresh();
}

void JoystickMonitor::followJoystickList() {
    if (!prepared_ || !source_->updateJoystickList()) return;
    fillList();
    if (controls_.list->count() > 0 && !controls_.timer->isActive()) controls_.timer->start();
}

void JoystickMonitor::fillList() {
    const QSignalBlocker quiet(controls_.list);
    controls_.list->clear();
    for (const joystick::JoystickEntry& entry : source_->joysticks())
        controls_.list->addItem(QString::fromStdString(entry.name));
    controls_.list->setCurrentRow(monitored_.follow(source_->joysticks()));
}

void JoystickMonitor::refresh() {
    const int position = controls_.list->currentRow();
    joystick::JoystickAxes axes{};
    joystick::JoystickButtons buttons{};
    if (prepared_) {
        axes = source_->readJoystickAxes(position);
        buttons = source_->readJoystickButtons(position);
    }
    for (std::size_t a = 0; a < axes.size(); ++a) {
        const int16_t v = joystick::scaledAxisValue(axes[a]);
        scale_.take(v);
        controls_.buttons[a]->setChecked(buttons[a]);
        controls_.axisBoxes[a]->setFill(scale_.barFraction(v));
        controls_.labels[a]->setText(QString::number(v));
    }
}

} // namespace orvane
