// The transfer sequences of the dialog: the start-up read, Load from Interface, Transmit
// to Interface, Store in Interface and Exit, the one-command buttons, and the release of
// the device when the window closes. Each command goes through Send_Click, so the panel,
// the log and the status show every exchange.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <array>

#include "config/Dialog2.h"
#include "config/core/command_table.h"
#include "device/runtime_failure.h"
#include "device/tavrel_api.h"
#include "program_version.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"
#include "resources/text_fill.h"
#include "resources/texts/config_texts.h"
#include "resources/texts/shared_texts.h"
#include "shell/ui_services.h"

namespace orvane {
namespace {

struct OneCommand {
    const char* button;
    std::string_view request;
};

constexpr std::array<OneCommand, 21> kOneCommands = {{
    {"Command11", config::kEnterProgrammingMode}, {"Command12", config::kExitProgrammingMode},
    {"Command20", config::kExitAndSave},          {"Command13", "00 08 15 EE 10 00 00"},
    {"Command3", "00 08 15 EE 11 00 00"},         {"Command4", "00 08 15 EE 12 00 00"},
    {"Command5", "00 08 15 EE 13 00 00"},         {"Command8", "00 08 15 EE 14 00 00"},
    {"Command10", "00 08 15 EE 15 00 00"},        {"Command15", "00 08 15 EE 16 00 00"},
    {"Command19", "00 08 15 EE 17 00 00"},        {"Command21", "00 08 15 EE 18 00 00"},
    {"Command22", "00 08 15 EE 19 00 00"},        {"Command23", "00 08 15 EE 1A 00 00"},
    {"Command24", "00 08 15 EE 1B 00 00"},        {"Command28", "00 08 15 EE 1C 00 00"},
    {"Command27", "00 08 15 EE 1D 00 00"},        {"Command29", "00 08 15 EE 1E 00 00"},
    {"Command30", "00 08 15 EE 1F 00 00"},        {"Command31", "00 08 15 EE A0 00 00"},
    {"Command32", "00 08 15 EE A1 00 00"},
}};

// What storing or closing after a Transmit that did not fully happen asks about.
std::string failedTransmitText(const config::SequenceTally& tally, int offset) {
    return localizedText(text_id::kFailedTransmitState, offset,
                         {std::to_string(tally.failed()), std::to_string(tally.requests)});
}

} // namespace

config::StepOutcome Dialog2::sendRequest(std::string_view requestText) {
    outputReportId_->setText(QStringLiteral("F9"));
    writeBuffer_->setText(
        QString::fromLatin1(requestText.data(), static_cast<qsizetype>(requestText.size())));
    return sendPanelRequest();
}

void Dialog2::oneCommand_Click(std::string_view name) {
    for (const OneCommand& command : kOneCommands) {
        if (name == command.button) sendRequest(command.request);
    }
}

void Dialog2::setProgress(double fraction) {
    const int span = progressBar1_->maximum() - progressBar1_->minimum();
    progressBar1_->setValue(progressBar1_->minimum() + static_cast<int>(fraction * span + 0.5));
}

config::SequenceTally Dialog2::runSteps(config::SequenceKind kind,
                                        const std::vector<config::SequenceStep>& steps) {
    return config::runSequence(
        kind, steps, [this](std::string_view request) { return sendRequest(request); },
        [this](double fraction) {
            setProgress(fraction);
            keepPainted();
        });
}

// A sequence that did not fully happen says so on the Configuration tab, where the user is
// looking, and in the status in place of the last command's texts; its exchanges keep
// their log lines.
void Dialog2::showSequenceOutcome(const config::SequenceTally& tally,
                                  std::span<const std::string> notTaken) {
    const int offset = context_.language.offset;
    std::string summary = config::sequenceSummary(tally, notTaken, offset);
    if (tally.kind == config::SequenceKind::Load && !tally.complete())
        summary += " " + config::readFailureNote(tally, offset);
    const QString text = QString::fromStdString(summary);
    sequenceOutcome_->setText(text);
    sequenceOutcome_->setStyleSheet(tally.complete() ? QString()
                                                     : QStringLiteral("color: #b00020;"));
    sequenceOutcome_->show();
    if (!tally.complete()) setStatusText(text + QStringLiteral("\r\n"));
    // Keys and clicks held back while the sequence ran arrive right after it, before queued
    // calls run: until then an Escape among them is a close asked for while it ran.
    outcomeUnseen_ = true;
    QMetaObject::invokeMethod(
        this, [this] { outcomeUnseen_ = false; }, Qt::QueuedConnection);
}

QString Dialog2::sequenceOutcomeText() const {
    return sequenceOutcome_->text();
}

bool Dialog2::confirm(const std::string& question) {
    MessageBoxRequest request;
    request.text = question;
    request.title = kProgramTitle;
    request.icon = MessageIcon::Question;
    request.buttons = MessageButtons::YesNo;
    return context_.ui.messageBox(this, request) == MessageResult::Yes;
}

// Runs once per opening; while a command is running it waits for the next tick.
void Dialog2::TimerStartupRead_Timer() {
    if (sequenceRunning()) return;
    timerStartupRead_->stop();
    const SequenceGuard busy(*this);
    Command9_Click();
    Command6_Click();
    showCurrentMixer();
}

void Dialog2::countUnsupported(config::SequenceTally& tally) const {
    if (match_.firmware()) tally.countUnsupported(*match_.firmware());
}

void Dialog2::Command6_Click() {
    const SequenceGuard busy(*this);
    const int offset = context_.language.offset;
    command6_->setEnabled(false);
    command6_->setText(QString::fromUtf8(stringTable(text_id::kReading + offset)));
    const config::Configuration before = config_;
    auto tally = runSteps(config::SequenceKind::Load, config::loadSequence());
    countUnsupported(tally);
    showCurrentMixer();
    if (tally.complete()) configurationKnown_ = true;
    match_.loaded(before, config_, tally.complete());
    refreshInterfaceMark();
    showSequenceOutcome(tally);
    command6_->setEnabled(true);
    command6_->setText(QString::fromUtf8(stringTable(text_id::kLoadFromInterface + offset)));
}

void Dialog2::Command14_Click() {
    if (sequenceRunning()) return;
    // Defaults that were never read would overwrite the interface's own values.
    if (!configurationKnown_ &&
        !confirm(localizedText(text_id::kTransmitUnknownConfiguration, context_.language.offset)))
        return;
    transmit();
}

config::SequenceTally Dialog2::transmit() {
    const SequenceGuard busy(*this);
    const int offset = context_.language.offset;
    command14_->setText(QString::fromUtf8(stringTable(text_id::kTransmitting + offset)));
    command14_->setEnabled(false);
    const auto notTaken = config::valuesTheInterfaceCannotTake(config_, offset);
    const config::Configuration sent = config_;
    auto tally = runSteps(config::SequenceKind::Transmit, config::transmitSequence(sent));
    countUnsupported(tally);
    failedTransmit_.reset();
    if (!tally.complete()) failedTransmit_ = tally;
    // What the interface took in full is what the dialog shows: no need to ask again.
    if (tally.complete()) configurationKnown_ = true;
    match_.transmitted(sent, tally.complete());
    refreshInterfaceMark();
    showSequenceOutcome(tally, notTaken);
    command14_->setText(QString::fromUtf8(stringTable(text_id::kTransmitToInterface + offset)));
    command14_->setEnabled(true);
    return tally;
}

// Stores what the interface holds. When the controls show something else, the user chooses
// first: transmit the values shown and store them, store the interface's own values, or go
// back. The window closes even when the store was not answered.
void Dialog2::Command1_Click() {
    if (sequenceRunning()) return;
    const int offset = context_.language.offset;
    const auto text = [offset](int id) { return std::string(stringTable(id + offset)); };
    std::string which; // which values were stored, when the user chose
    bool transmitFirst = false;
    if (failedTransmit_) {
        if (!confirm(failedTransmitText(*failedTransmit_, offset) +
                     localizedText(text_id::kStoreAnyway, offset)))
            return;
    } else if (!match_.holdsInterfaceConfiguration(config_)) {
        MessageBoxRequest question;
        question.text = text(text_id::kStoreWhichQuestion);
        question.title = kProgramTitle;
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::YesNoCancel;
        question.buttonTexts = {text(text_id::kStoreTransmitFirst),
                                text(text_id::kStoreInterfaceValues), text(text_id::kGoBack)};
        const MessageResult choice = context_.ui.messageBox(this, question);
        if (choice == MessageResult::Cancel) return;
        transmitFirst = choice == MessageResult::Yes;
        which = text(transmitFirst ? text_id::kStoredShownValues : text_id::kStoredInterfaceValues);
    }
    {
        // One run from the transmission to the store: a close asked for meanwhile is asked
        // about when a failed transmission stops it, and is moot once the window closes.
        const SequenceGuard busy(*this);
        if (transmitFirst && !transmit().complete()) {
            // A mix of old and new values is not stored; the outcome stays on show.
            setStatusText(statusText_ +
                          QString::fromStdString(text(text_id::kNothingStoredAfterTransmit)) +
                          QStringLiteral("\r\n"));
            return;
        }
        auto tally = runSteps(config::SequenceKind::Store, config::storeSequence());
        countUnsupported(tally);
        showSequenceOutcome(tally);
        releaseDevice();
        const std::string reattach = text(text_id::kReattachToApply);
        MessageBoxRequest request;
        request.text = tally.complete()
                           ? reattach
                           : config::sequenceSummary(tally, {}, offset) + "\r\n" + reattach;
        if (!which.empty()) request.text = which + "\r\n" + request.text;
        request.title = kProgramTitle;
        request.icon = tally.complete() ? MessageIcon::None : MessageIcon::Exclamation;
        request.buttons = MessageButtons::Ok;
        context_.ui.messageBox(this, request);
        rejectPending_ = false;
    }
    failedTransmit_.reset(); // asked already: closing now asks no more
    accept();
}

void Dialog2::reject() {
    if (sequenceRunning()) {
        rejectPending_ = true;
        return;
    }
    if (mayClose()) QDialog::reject();
}

bool Dialog2::mayClose() {
    const int offset = context_.language.offset;
    if (failedTransmit_)
        return confirm(failedTransmitText(*failedTransmit_, offset) +
                       localizedText(text_id::kCloseAnyway, offset));
    if (!match_.wouldLoseEdits(config_)) return true;
    MessageBoxRequest question;
    question.text = stringTable(text_id::kDiscardQuestion + offset);
    question.title = kProgramTitle;
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNo;
    question.buttonTexts = {std::string(stringTable(text_id::kDiscard + offset)),
                            std::string(stringTable(text_id::kGoBack + offset))};
    return context_.ui.messageBox(this, question) == MessageResult::Yes;
}

// The close came while the user could not yet see how the sequence ended: the question
// shows it. A failed Transmit or edits that would be lost ask their own question.
void Dialog2::closeAfterSequence() {
    outcomeUnseen_ = false;
    if (failedTransmit_ || match_.wouldLoseEdits(config_)) {
        if (mayClose()) QDialog::reject();
        return;
    }
    const int offset = context_.language.offset;
    MessageBoxRequest question;
    question.text = sequenceOutcome_->text().toStdString();
    if (!question.text.empty()) question.text += "\r\n";
    question.text += stringTable(text_id::kCloseAfterSequence + offset);
    question.title = kProgramTitle;
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNo;
    question.buttonTexts = {std::string(stringTable(text_id::kClose + offset)),
                            std::string(stringTable(text_id::kGoBack + offset))};
    if (context_.ui.messageBox(this, question) == MessageResult::Yes) QDialog::reject();
}

void Dialog2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && outcomeUnseen_ &&
        !sequenceRunning()) {
        closeAfterSequence();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Dialog2::refreshInterfaceMark() {
    QString title = windowTitle();
    const bool marked = title.startsWith(QLatin1Char('*'));
    if (marked) title.remove(0, 1);
    if (!match_.holdsInterfaceConfiguration(config_)) title.prepend(QLatin1Char('*'));
    if (marked != title.startsWith(QLatin1Char('*'))) setWindowTitle(title);
}

// Every way of closing ends here (also after storing): the device is closed.
void Dialog2::releaseDevice() {
    try {
        context_.tavrel.CloseRead();
        context_.tavrel.CloseWrite();
    } catch (const RuntimeFailure&) {
        // Without the library there is nothing left to close.
    }
}

void Dialog2::connectProtocol() {
    command6_ = findChild<QPushButton*>(QStringLiteral("Command6"));
    command14_ = findChild<QPushButton*>(QStringLiteral("Command14"));
    connect(command6_, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(command14_, &QPushButton::clicked, this, [this] { Command14_Click(); });
    connect(findChild<QPushButton*>(QStringLiteral("Command1")), &QPushButton::clicked, this,
            [this] { Command1_Click(); });
    connect(findChild<QPushButton*>(QStringLiteral("Send")), &QPushButton::clicked, this,
            [this] { Send_Click(); });
    for (const OneCommand& command : kOneCommands) {
        const std::string_view name = command.button;
        connect(findChild<QPushButton*>(QString::fromLatin1(command.button)), &QPushButton::clicked,
                this, [this, name] { oneCommand_Click(name); });
    }
    connect(timerStartupRead_, &QTimer::timeout, this, [this] { TimerStartupRead_Timer(); });
}

} // namespace orvane
