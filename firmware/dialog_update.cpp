// The firmware dialog's device operations: Erase, Program, Verify, LED and Reset, with the
// window kept alive and everything else held back while one runs.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

#include "firmware/Dialog.h"
#include "resources/text_fill.h"
#include "resources/texts/firmware_texts.h"
#include "resources/texts/shared_texts.h"
#include "shell/display_text.h"
#include "shell/event_log.h"
#include "shell/localization.h"
#include "shell/trap.h"
#include "shell/ui_services.h"

namespace orvane {

namespace {

// The window repaints at most this often while an operation runs: often enough to look
// alive, rarely enough to cost nothing next to the exchanges.
constexpr auto kPaintInterval = std::chrono::milliseconds{30};

constexpr const char* kConfirmText =
    "Ensure a stable power supply and connection during the update process.\r\n"
    "No warranty of any kind is provided and the use is entirely at your own risk !\r\n"
    "Do you want to proceed ?";

} // namespace

void Dialog::connectUpdateButtons() {
    connect(operationButtons_[kProgramButton], &QPushButton::clicked, this,
            [this] { program_Command_Click(); });
    connect(operationButtons_[kEraseButton], &QPushButton::clicked, this,
            [this] { erase_Command_Click(); });
    connect(operationButtons_[kVerifyButton], &QPushButton::clicked, this,
            [this] { verify_Command_Click(); });
    connect(operationButtons_[kResetButton], &QPushButton::clicked, this,
            [this] { reset_Command_Click(); });
    connect(operationButtons_[kLedButton], &QPushButton::clicked, this,
            [this] { led_Command_Click(); });
}

bool Dialog::confirmUpdate(const std::string& title) {
    const MessageResult answer = context_.ui.messageBox(
        this, MessageBoxRequest{kConfirmText, title, MessageIcon::Question, MessageButtons::YesNo});
    return answer != MessageResult::No;
}

template <class Run> void Dialog::runOperation(firmware::Operation operation, Run&& run) {
    busy_ = true;
    setButtonsEnabled(false);
    CancelButton_->setEnabled(false);
    lastPaint_ = context_.clock.now();
    keptFailure_.clear();
    firmware::OperationOutcome outcome = firmware::OperationOutcome::Failed;
    Trap{context_.log}([&] { outcome = run(); });
    flashState_ = firmware::flashStateAfter(operation, outcome);
    if (const std::string state = flashStateText(); !state.empty()) {
        appendConsole(state + "\r\n");
        context_.log.logW(state);
    }
    // Clicks made during the operation now reach disabled buttons and are dropped; a close
    // asked for meanwhile is remembered.
    QCoreApplication::processEvents();
    busy_ = false;
    CancelButton_->setEnabled(true);
    if (outcome == firmware::OperationOutcome::Failed)
        searchAgain();
    else
        setButtonsEnabled(true);
    if (closeRequested_) {
        closeRequested_ = false;
        reject();
    }
}

void Dialog::operationStopped(const std::string& operation, const firmware::StepFailure& failure) {
    const auto before = Console_->toPlainText().size();
    UpdateView::operationStopped(operation, failure);
    // Kept as the console shows it, so the new greeting can repeat it.
    keptFailure_ = Console_->toPlainText().mid(before).toStdString();
}

std::string Dialog::flashNotice() const {
    const std::string state = flashStateText();
    return state.empty() ? std::string() : keptFailure_ + state + "\r\n";
}

std::string Dialog::flashStateText() const {
    int id = 0;
    switch (flashState_) {
    case firmware::FlashState::AsIntended:
        return {};
    case firmware::FlashState::PartlyErased:
        id = text_id::kFlashPartlyErased;
        break;
    case firmware::FlashState::PartlyProgrammed:
        id = text_id::kFlashPartlyProgrammed;
        break;
    case firmware::FlashState::NotTheFile:
        id = text_id::kFlashNotTheFile;
        break;
    case firmware::FlashState::Unchecked:
        id = text_id::kFlashUnchecked;
        break;
    }
    return localized(id, context_.language.offset);
}

void Dialog::searchAgain() {
    appendConsole(localizedText(text_id::kBootLoaderOutOfStep, context_.language.offset));
    setButtonsEnabled(false);
    setWindowTitle(QStringLiteral("Waiting for Bootloader..."));
    Timer1_->start();
}

void Dialog::setImageButtonsEnabled() {
    if (memoryImage_.filledLineCount() == 0) return;
    operationButtons_[kEraseButton]->setEnabled(true);
    operationButtons_[kVerifyButton]->setEnabled(true);
    operationButtons_[kProgramButton]->setEnabled(true);
}

void Dialog::erase_Command_Click() {
    EventLog& log = context_.log;
    log.logI("entering Dialog.erase_Command_Click()");
    if (!confirmUpdate("The USB-Interface firmware will be erased!")) return;
    runOperation(firmware::Operation::Erase, [&] {
        log.logI("entering Dialog.eraseMemory()");
        const auto outcome = bootLoader_.eraseMemory();
        log.logI("exiting Dialog.eraseMemory()");
        return outcome;
    });
    log.logI("exiting Dialog.erase_Command_Click()");
}

void Dialog::program_Command_Click() {
    if (!confirmUpdate("The USB-Interface firmware will be removed and updated!")) return;
    runOperation(firmware::Operation::Program,
                 [&] { return bootLoader_.uploadMemory(memoryImage_); });
}

void Dialog::verify_Command_Click() {
    runOperation(firmware::Operation::Verify,
                 [&] { return bootLoader_.verifyMemory(memoryImage_); });
}

void Dialog::led_Command_Click() {
    context_.log.logI("entering Dialog.led_Command_Click()");
    firmware::SendResult result;
    if (!Trap{context_.log}([&] { result = bootLoader_.led(); }) || !result.answered())
        searchAgain();
    context_.log.logI("exiting Dialog.led_Command_Click()");
}

void Dialog::reset_Command_Click() {
    Trap{context_.log}([&] { bootLoader_.reset(); });
    accept(); // also when the reset was not answered
}

void Dialog::CancelButton_Click() {
    context_.log.logI("entering Dialog.CancelButton_Click()");
    reject();
    context_.log.logI("exiting Dialog.CancelButton_Click()");
}

void Dialog::reject() {
    if (busy_) {
        closeRequested_ = true;
        return;
    }
    Timer1_->stop();
    QDialog::reject();
}

void Dialog::closeEvent(QCloseEvent* event) {
    if (busy_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Dialog::replaceConsole(std::string_view text) {
    Console_->setPlainText(displayText(text));
    Console_->moveCursor(QTextCursor::End);
}

void Dialog::setProgressMaximum(int maximum) {
    BL_ProgressBar_->setMaximum(maximum);
}

void Dialog::setProgress(int value) {
    BL_ProgressBar_->setValue(value);
    keepAlive();
}

void Dialog::keepAlive() {
    const auto now = context_.clock.now();
    if (now - lastPaint_ < kPaintInterval) return;
    lastPaint_ = now;
    // Paints and window-system events only: clicks and keys wait for the operation's end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace orvane
