#include "config/Dialog2.h"

#include "config/joystick_monitor.h"
#include "shell/display_text.h"

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
    connectProtocol();
    // After the record took an edit: does it still hold the interface's configuration?
    const auto refresh = [this] { refreshInterfaceMark(); };
    for (QSlider* slider : findChildren<QSlider*>())
        connect(slider, &QSlider::valueChanged, this, refresh);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->isCheckable()) connect(button, &QAbstractButton::toggled, this, refresh);
    }
    for (QLineEdit* box : text1_)
        connect(box, &QLineEdit::textChanged, this, refresh);
    connect(command7_, &QPushButton::clicked, this, refresh);
    match_.reset(config_);
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
    match_.reset(config_); // what the controls start with is no edit
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

// The start-up read runs 100 ms after the window appeared.
void Dialog2::startDeviceSession() {
    timerStartupRead_->start();
}

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
    // Closing in the middle of a command would close the device under it.
    if (sequenceRunning()) {
        closePending_ = result;
        return;
    }
    Form_Unload();
    QDialog::done(result);
}

void Dialog2::CancelButton_Click() {
    reject();
}

void Dialog2::appendLog(const QString& text) {
    logText_ += text;
    // Appends rather than setting the whole log again: a sequence adds two lines per
    // exchange to a log that only grows.
    logBox_->moveCursor(QTextCursor::End);
    logBox_->insertPlainText(displayText(text));
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

// Items 0..7; an index outside reads as 0 and writes nothing. Setting an item sets its
// control, which writes the value (clamped to the item's range) into the record.
int Dialog2::axisChannel(int axis) const {
    return valid(axis) ? config_.axisChannel[static_cast<std::size_t>(axis)] : 0;
}
void Dialog2::setAxisChannel(int axis, int channel) {
    if (valid(axis)) slider1_[static_cast<std::size_t>(axis)]->setValue(channel);
}
bool Dialog2::axisInvert(int axis) const {
    return valid(axis) && config_.axisInvert[static_cast<std::size_t>(axis)];
}
void Dialog2::setAxisInvert(int axis, bool on) {
    if (valid(axis)) check1_[static_cast<std::size_t>(axis)]->setChecked(on);
}
int Dialog2::buttonChannel(int button) const {
    return valid(button) ? config_.buttonChannel[static_cast<std::size_t>(button)] : 0;
}
void Dialog2::setButtonChannel(int button, int channel) {
    if (valid(button)) slider3_[static_cast<std::size_t>(button)]->setValue(channel);
}
int Dialog2::buttonThreshold(int button) const {
    return valid(button) ? config_.buttonThreshold[static_cast<std::size_t>(button)] : 0;
}
void Dialog2::setButtonThreshold(int button, int level) {
    if (valid(button)) slider2_[static_cast<std::size_t>(button)]->setValue(level);
}
bool Dialog2::buttonInvert(int button) const {
    return valid(button) && config_.buttonInvert[static_cast<std::size_t>(button)];
}
void Dialog2::setButtonInvert(int button, bool on) {
    if (valid(button)) check2_[static_cast<std::size_t>(button)]->setChecked(on);
}
bool Dialog2::buttonActive(int button) const {
    return valid(button) && config_.buttonActive[static_cast<std::size_t>(button)];
}
void Dialog2::setButtonActive(int button, bool on) {
    if (valid(button)) check3_[static_cast<std::size_t>(button)]->setChecked(on);
}
bool Dialog2::bootloaderEnable() const {
    return config_.bootloaderEnable;
}

void Dialog2::selectDecodingOption(int index) {
    if (index != 0 && index != 1) return;
    option1_[static_cast<std::size_t>(index)]->setChecked(true);
    option1_[static_cast<std::size_t>(1 - index)]->setChecked(false);
    config_.decodingMode = index;
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
    return config_;
}

// The controls show the record; what they cannot hold (a decoding mode other than 0 and 1,
// mixer entries beyond the panel's sliders) stays in the record as it is.
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
    config_.mixers = items.mixers;
    for (std::size_t k = 0; k < option1_.size(); ++k)
        option1_[k]->setChecked(items.option[k]);
    config_.decodingMode = items.decodingMode;
    bootloaderCheckbox_->setChecked(items.bootloaderEnable);
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

    // Every change of an item's control, by the user or by the program, goes into the record.
    for (std::size_t i = 0; i < 8; ++i) {
        connect(slider1_[i], &QSlider::valueChanged, this,
                [this, i](int v) { config_.axisChannel[i] = v; });
        connect(slider2_[i], &QSlider::valueChanged, this,
                [this, i](int v) { config_.buttonThreshold[i] = v; });
        connect(slider3_[i], &QSlider::valueChanged, this,
                [this, i](int v) { config_.buttonChannel[i] = v; });
        connect(check1_[i], &QCheckBox::toggled, this,
                [this, i](bool on) { config_.axisInvert[i] = on; });
        connect(check2_[i], &QCheckBox::toggled, this,
                [this, i](bool on) { config_.buttonInvert[i] = on; });
        connect(check3_[i], &QCheckBox::toggled, this,
                [this, i](bool on) { config_.buttonActive[i] = on; });
    }
    for (std::size_t k = 0; k < option1_.size(); ++k) {
        connect(option1_[k], &QRadioButton::toggled, this,
                [this, k](bool on) { config_.option[k] = on; });
    }
    connect(bootloaderCheckbox_, &QCheckBox::toggled, this,
            [this](bool on) { config_.bootloaderEnable = on; });
    // The record starts as the controls do: every slider at its minimum.
    for (std::size_t i = 0; i < 8; ++i) {
        config_.axisChannel[i] = slider1_[i]->value();
        config_.buttonThreshold[i] = slider2_[i]->value();
        config_.buttonChannel[i] = slider3_[i]->value();
    }
}

} // namespace orvane
