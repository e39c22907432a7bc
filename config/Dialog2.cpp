#include "config/Dialog2.h"

#include "app/core/display_text.h"
#include "config/joystick_monitor.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextCursor>
#include <QTimer>

namespace orvane {
namespace {

// Device numbers show like the main window's device table: a blank where a sign would be.
QString signedNumberText(int value) {
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

bool valid(int index) {
    return index >= 0 && index < 8;
}
int valueAt(const std::array<QSlider*, 8>& sliders, int index) {
    return valid(index) ? sliders[static_cast<std::size_t>(index)]->value() : 0;
}
void setValueAt(const std::array<QSlider*, 8>& sliders, int index, int value) {
    if (valid(index)) sliders[static_cast<std::size_t>(index)]->setValue(value);
}
bool checkedAt(const std::array<QCheckBox*, 8>& boxes, int index) {
    return valid(index) && boxes[static_cast<std::size_t>(index)]->isChecked();
}
void setCheckedAt(const std::array<QCheckBox*, 8>& boxes, int index, bool on) {
    if (valid(index)) boxes[static_cast<std::size_t>(index)]->setChecked(on);
}

} // namespace

Dialog2::Dialog2(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName("Dialog2");
    buildLayout();
    // Enter in a text box must not press a button.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    connectEditor();
    connectMixerPanel();
    connectJoystickMonitor();
}

void Dialog2::setDeviceValues(const DeviceValues& values) {
    values_ = values;
}

void Dialog2::Form_Load() {
    loaded_ = true;
    outputReportId_->setText(QStringLiteral("0"));
    inputReportId_->setText(QStringLiteral("0"));
    writeBuffer_->clear();
    readBuffer_->clear();
    logText_.clear();
    logBox_->clear();
    filterJoy_ = false;
    // Mixers and decoding mode stay locked until the firmware's version says it has them.
    enableMixerControls(false);
    enableDecodingModeControls(false);
    annotations_.clear();
    Command7_Click();
    prodId_->setText(signedNumberText(values_.productId));
    vendId_->setText(signedNumberText(values_.vendorId));
    serNum_->setText(QString::fromStdString(values_.serialNumber));
    devName_->setText(QString::fromStdString(values_.deviceName));
    inRptLen_->setText(QString::number(values_.inputReportLen));
    outRptLen_->setText(QString::number(values_.outputReportLen));
    setStatusText(QStringLiteral("Open Completed!"));
    startDeviceSession();
    startJoystickMonitor();
}

// The start-up read (TimerStartupRead) and the joystick monitor (TimerJoy) are started here
// by the device session; without it the window is a plain editor.
void Dialog2::startDeviceSession() {}

// Closing the opened device (CloseRead, CloseWrite) and releasing the joystick monitor
// belong to the device session.
void Dialog2::releaseDevice() {}

void Dialog2::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    timerStartupRead_->stop();
    timerJoy_->stop();
    joystickMonitor_->release();
    releaseDevice();
}

void Dialog2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loaded_) Form_Load();
}

void Dialog2::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void Dialog2::CancelButton_Click() {
    reject();
}

void Dialog2::appendLog(const QString& text) {
    logText_ += text;
    logBox_->setPlainText(displayText(logText_));
    logBox_->moveCursor(QTextCursor::End);
}

void Dialog2::setStatusText(const QString& text) {
    statusText_ = text;
    status_->setPlainText(displayText(statusText_));
}

void Dialog2::Command2_Click() {
    logText_.clear();
    logBox_->clear();
}

// Keeps the interface's own joystick reports out of the command log.
void Dialog2::Command9_Click() {
    filterJoy_ = !filterJoy_;
    appendLog(filterJoy_ ? QStringLiteral("joyFilter on\r\n")
                         : QStringLiteral("joyFilter off\r\n"));
}

// Items 0..7; an index outside reads as 0 and writes nothing.
int Dialog2::axisChannel(int axis) const {
    return valueAt(slider1_, axis);
}
void Dialog2::setAxisChannel(int axis, int channel) {
    setValueAt(slider1_, axis, channel);
}
bool Dialog2::axisInvert(int axis) const {
    return checkedAt(check1_, axis);
}
void Dialog2::setAxisInvert(int axis, bool on) {
    setCheckedAt(check1_, axis, on);
}
int Dialog2::buttonChannel(int button) const {
    return valueAt(slider3_, button);
}
void Dialog2::setButtonChannel(int button, int channel) {
    setValueAt(slider3_, button, channel);
}
int Dialog2::buttonThreshold(int button) const {
    return valueAt(slider2_, button);
}
void Dialog2::setButtonThreshold(int button, int level) {
    setValueAt(slider2_, button, level);
}
bool Dialog2::buttonInvert(int button) const {
    return checkedAt(check2_, button);
}
void Dialog2::setButtonInvert(int button, bool on) {
    setCheckedAt(check2_, button, on);
}
bool Dialog2::buttonActive(int button) const {
    return checkedAt(check3_, button);
}
void Dialog2::setButtonActive(int button, bool on) {
    setCheckedAt(check3_, button, on);
}
bool Dialog2::bootloaderEnable() const {
    return bootloaderCheckbox_->isChecked();
}

void Dialog2::selectDecodingOption(int index) {
    if (index != 0 && index != 1) return;
    option1_[static_cast<std::size_t>(index)]->setChecked(true);
    option1_[static_cast<std::size_t>(1 - index)]->setChecked(false);
    decodingMode_ = index;
}

bool Dialog2::decodingOptionSelected(int index) const {
    return (index == 0 || index == 1) && option1_[static_cast<std::size_t>(index)]->isChecked();
}

void Dialog2::Option1_Click(int index) {
    selectDecodingOption(index);
}

void Dialog2::enableDecodingModeControls(bool enable) {
    for (QRadioButton* option : option1_)
        option->setEnabled(enable);
}

config::ConfigurationSnapshot Dialog2::snapshot() const {
    config::ConfigurationSnapshot items;
    for (int i = 0; i < 8; ++i) {
        const auto k = static_cast<std::size_t>(i);
        items.axisChannel[k] = axisChannel(i);
        items.buttonThreshold[k] = buttonThreshold(i);
        items.buttonChannel[k] = buttonChannel(i);
        items.axisInvert[k] = axisInvert(i);
        items.buttonInvert[k] = buttonInvert(i);
        items.buttonActive[k] = buttonActive(i);
    }
    items.mixers = mixers_;
    items.option = {decodingOptionSelected(0), decodingOptionSelected(1)};
    items.decodingMode = decodingMode_;
    return items;
}

void Dialog2::applySnapshot(const config::ConfigurationSnapshot& items) {
    for (int i = 0; i < 8; ++i) {
        const auto k = static_cast<std::size_t>(i);
        setAxisChannel(i, items.axisChannel[k]);
        setButtonThreshold(i, items.buttonThreshold[k]);
        setButtonChannel(i, items.buttonChannel[k]);
        setAxisInvert(i, items.axisInvert[k]);
        setButtonInvert(i, items.buttonInvert[k]);
        setButtonActive(i, items.buttonActive[k]);
    }
    mixers_ = items.mixers;
    for (std::size_t k = 0; k < option1_.size(); ++k)
        option1_[k]->setChecked(items.option[k]);
    decodingMode_ = items.decodingMode;
}

void Dialog2::connectEditor() {
    const auto onClick = [this](const char* name, auto handler) {
        if (auto* button = findChild<QAbstractButton*>(QString::fromLatin1(name))) {
            connect(button, &QAbstractButton::clicked, this, handler);
        }
    };
    onClick("bStickMode1", [this] { bStickMode1_Click(); });
    onClick("bStickMode2", [this] { bStickMode2_Click(); });
    onClick("bStickMode3", [this] { bStickMode3_Click(); });
    onClick("bStickMode4", [this] { bStickMode4_Click(); });
    onClick("bRFG2", [this] { bRFG2_Click(); });
    onClick("Command17", [this] { Command17_Click(); });
    onClick("Command18", [this] { Command18_Click(); });
    onClick("Command16", [this] { Command16_Click(); });
    onClick("Option1_0", [this] { Option1_Click(0); });
    onClick("Option1_1", [this] { Option1_Click(1); });
    onClick("Bootloader_Checkbox", [this] { Bootloader_Checkbox_Click(); });
    onClick("Command25", [this] { Command25_Click(); });
    onClick("Command26", [this] { Command26_Click(); });
    onClick("Command2", [this] { Command2_Click(); });
    onClick("Command9", [this] { Command9_Click(); });
    onClick("CancelButton_0", [this] { CancelButton_Click(); });
}

} // namespace orvane
