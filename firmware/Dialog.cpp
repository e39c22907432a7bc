#include "firmware/Dialog.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/core/firmware_host.h"
#include "app/core/localization.h"

namespace orvane {

namespace {

constexpr std::array<const char*, 6> kOperationNames{"open_Command",  "program_Command",
                                                     "erase_Command", "verify_Command",
                                                     "reset_Command", "led_Command"};

} // namespace

Dialog::Dialog(AppContext& context, FirmwareHost& host, QWidget* parent)
    : QDialog(parent), context_(context), host_(host), Console_(new QPlainTextEdit(this)),
      BL_ProgressBar_(new QProgressBar(this)), CancelButton_(new QPushButton(this)),
      Timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("Waiting for Bootloader..."));
    Console_->setObjectName(QStringLiteral("Console"));
    Console_->setReadOnly(true);
    BL_ProgressBar_->setObjectName(QStringLiteral("BL_ProgressBar"));
    BL_ProgressBar_->setMinimum(0);
    BL_ProgressBar_->setValue(0);
    CancelButton_->setObjectName(QStringLiteral("CancelButton"));
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(250);

    auto* buttons = new QHBoxLayout;
    for (size_t i = 0; i < operationButtons_.size(); ++i) {
        operationButtons_[i] = new QPushButton(this);
        operationButtons_[i]->setObjectName(QString::fromLatin1(kOperationNames[i]));
        buttons->addWidget(operationButtons_[i]);
    }
    buttons->addWidget(CancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Console_);
    layout->addWidget(BL_ProgressBar_);
    layout->addLayout(buttons);
    setButtonsEnabled(false);

    connect(Timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(CancelButton_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    // A closed dialog detects nothing any more.
    connect(this, &QDialog::finished, Timer1_, &QTimer::stop);
}

void Dialog::setDeviceValues(const DeviceValues& values) {
    values_ = values;
}

void Dialog::setButtonsEnabled(bool enabled) {
    for (QPushButton* b : operationButtons_)
        b->setEnabled(enabled);
}

void Dialog::updateLocalization() {
    const int offset = context_.language.offset;
    for (size_t i = 0; i < operationButtons_.size(); ++i)
        operationButtons_[i]->setText(
            QString::fromStdString(localized(9 + static_cast<int>(i), offset)));
    CancelButton_->setText(QString::fromStdString(localized(15, offset)));
    Console_->setPlainText(QString::fromStdString(
        localized(16, offset) + "\n" + localized(17, offset) + "\n" + localized(18, offset)));
}

void Dialog::Timer1_Timer() {
    // Detection of the boot loader (product id 25611) through the host's device list
    // comes with the update sequence.
    (void)host_;
}

void Dialog::CancelButton_Click() {
    Timer1_->stop();
    reject();
}

} // namespace orvane
