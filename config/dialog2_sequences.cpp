// The transfer sequences of the dialog: the start-up read, Load from Interface, Transmit
// to Interface, Store in Interface and Exit, the one-command buttons, and the release of
// the device when the window closes. Each command goes through Send_Click, so the panel,
// the log and the status show every exchange.
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

void Dialog2::Command6_Click() {
    const SequenceGuard busy(*this);
    const int offset = context_.language.offset;
    command6_->setEnabled(false);
    command6_->setText(QString::fromUtf8(stringTable(text_id::kReading + offset)));
    const auto tally = runSteps(config::SequenceKind::Load, config::loadSequence());
    showCurrentMixer();
    if (tally.complete()) configurationKnown_ = true;
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
    const SequenceGuard busy(*this);
    const int offset = context_.language.offset;
    command14_->setText(QString::fromUtf8(stringTable(text_id::kTransmitting + offset)));
    command14_->setEnabled(false);
    const auto notTaken = config::valuesTheInterfaceCannotTake(config_, offset);
    const auto tally = runSteps(config::SequenceKind::Transmit, config::transmitSequence(config_));
    failedTransmit_.reset();
    if (!tally.complete()) failedTransmit_ = tally;
    // What the interface took in full is what the dialog shows: no need to ask again.
    if (tally.complete()) configurationKnown_ = true;
    showSequenceOutcome(tally, notTaken);
    command14_->setText(QString::fromUtf8(stringTable(text_id::kTransmitToInterface + offset)));
    command14_->setEnabled(true);
}

// Stores what the interface holds now; edits reach it only through Transmit. The window
// closes even when the store was not answered.
void Dialog2::Command1_Click() {
    if (sequenceRunning()) return;
    if (failedTransmit_ && !confirm(failedTransmitText(*failedTransmit_, context_.language.offset) +
                                    localizedText(text_id::kStoreAnyway, context_.language.offset)))
        return;
    {
        const SequenceGuard busy(*this);
        const auto tally = runSteps(config::SequenceKind::Store, config::storeSequence());
        showSequenceOutcome(tally);
        releaseDevice();
        const std::string reattach(
            stringTable(text_id::kReattachToApply + context_.language.offset));
        MessageBoxRequest request;
        request.text =
            tally.complete()
                ? reattach
                : config::sequenceSummary(tally, {}, context_.language.offset) + "\r\n" + reattach;
        request.title = kProgramTitle;
        request.icon = tally.complete() ? MessageIcon::None : MessageIcon::Exclamation;
        request.buttons = MessageButtons::Ok;
        context_.ui.messageBox(this, request);
    }
    failedTransmit_.reset(); // asked already: closing now asks no more
    accept();
}

void Dialog2::reject() {
    if (failedTransmit_ && !sequenceRunning() &&
        !confirm(failedTransmitText(*failedTransmit_, context_.language.offset) +
                 localizedText(text_id::kCloseAnyway, context_.language.offset)))
        return;
    QDialog::reject();
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
