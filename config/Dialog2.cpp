#include "config/Dialog2.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <algorithm>

namespace orvane {
namespace {

// Device numbers show like the main window's device table: a blank where a sign would be.
QString signedNumberText(int value) {
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

std::size_t at(int index) {
    return static_cast<std::size_t>(std::clamp(index, 0, 7));
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
    status_->setPlainText(QStringLiteral("Open Completed!"));
    startDeviceSession();
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

void Dialog2::Command2_Click() {
    logBox_->clear();
}

int Dialog2::axisChannel(int axis) const {
    return slider1_[at(axis)]->value();
}
void Dialog2::setAxisChannel(int axis, int channel) {
    slider1_[at(axis)]->setValue(channel);
}
bool Dialog2::axisInvert(int axis) const {
    return check1_[at(axis)]->isChecked();
}
void Dialog2::setAxisInvert(int axis, bool on) {
    check1_[at(axis)]->setChecked(on);
}
int Dialog2::buttonChannel(int button) const {
    return slider3_[at(button)]->value();
}
void Dialog2::setButtonChannel(int button, int channel) {
    slider3_[at(button)]->setValue(channel);
}
int Dialog2::buttonThreshold(int button) const {
    return slider2_[at(button)]->value();
}
void Dialog2::setButtonThreshold(int button, int level) {
    slider2_[at(button)]->setValue(level);
}
bool Dialog2::buttonInvert(int button) const {
    return check2_[at(button)]->isChecked();
}
void Dialog2::setButtonInvert(int button, bool on) {
    check2_[at(button)]->setChecked(on);
}
bool Dialog2::buttonActive(int button) const {
    return check3_[at(button)]->isChecked();
}
void Dialog2::setButtonActive(int button, bool on) {
    check3_[at(button)]->setChecked(on);
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
    onClick("bStickMode1", [this] { bStickMode_Click(1); });
    onClick("bStickMode2", [this] { bStickMode_Click(2); });
    onClick("bStickMode3", [this] { bStickMode_Click(3); });
    onClick("bStickMode4", [this] { bStickMode_Click(4); });
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
    onClick("CancelButton_0", [this] { CancelButton_Click(); });
}

} // namespace orvane
