// Send_Click: one command of the configuration protocol through the diagnostic panel. The
// panel's fields are the request, the exchange runs in config/core, and the answer goes
// into the record, which the controls then show.
#include <QCoreApplication>
#include <QLineEdit>

#include <variant>

#include "config/Dialog2.h"
#include "config/core/command_exchange.h"
#include "config/joystick_monitor.h"
#include "device/runtime_failure.h"
#include "report/report_text.h"
#include "signal/signal_tab.h"

namespace orvane {
namespace {

QString hexByte(uint8_t value) {
    return QString::fromStdString(report::hexByteText(value));
}

} // namespace

// The joystick monitor holds still while a command or sequence runs: its ticks would
// otherwise run between exchanges. The Signal tab's reader leaves the port to the
// exchanges, which hand it every report they read.
Dialog2::SequenceGuard::SequenceGuard(Dialog2& dialog) : dialog_(dialog) {
    ++dialog_.busyDepth_;
    dialog_.joystickMonitor().pause();
    if (dialog_.signalTab_) dialog_.signalTab_->holdReading();
}

Dialog2::SequenceGuard::~SequenceGuard() {
    if (dialog_.signalTab_) dialog_.signalTab_->releaseReading();
    dialog_.joystickMonitor().resume();
    if (--dialog_.busyDepth_ > 0) return;
    if (dialog_.closePending_) {
        const int result = *dialog_.closePending_;
        dialog_.closePending_.reset();
        dialog_.rejectPending_ = false;
        dialog_.done(result);
        return;
    }
    if (!dialog_.rejectPending_) return;
    dialog_.rejectPending_ = false;
    if (dialog_.outcomeUnseen_)
        dialog_.closeAfterSequence();
    else if (dialog_.mayClose())
        dialog_.QDialog::reject();
}

// Paints and runs timers and other queued events, but no clicks or keys: those wait until
// the running command's handler has returned, and timers check sequenceRunning().
void Dialog2::keepPainted() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Dialog2::Send_Click() {
    sendPanelRequest();
}

config::StepOutcome Dialog2::sendPanelRequest() {
    const SequenceGuard busy(*this);
    setStatusText({});
    const config::ReportLengths lengths{values_.outputReportLen, values_.inputReportLen};
    const auto built = config::buildRequest(outputReportId_->text().toStdString(),
                                            writeBuffer_->text().toStdString(), lengths);
    if (const auto* refused = std::get_if<config::RefusedRequest>(&built)) {
        setStatusText(QString::fromStdString(refused->status));
        // The log keeps a line for the request that did not go, so that a sequence's log
        // shows every one of its commands.
        const config::StepOutcome step = config::refusedStep(*refused);
        appendLog(QStringLiteral("Not sent: %1: %2\r\n")
                      .arg(writeBuffer_->text(), QString::fromStdString(step.refusal)));
        return step;
    }
    const auto& request = std::get<report::ReportBuffer>(built);
    inputReportId_->clear();
    readBuffer_->clear();
    outputReportId_->setText(hexByte(request[0]));
    appendLog(QString::fromStdString(config::putLine(request, lengths)));
    writeBuffer_->setText(QString::fromStdString(config::reportBytesText(request, lengths.output)));
    keepPainted();

    config::Configuration record = config_;
    config::CommandOutcome outcome;
    try {
        outcome =
            config::runCommand(context_.port, context_.clock, request, lengths, filterJoy_, record);
    } catch (const RuntimeFailure& failure) {
        // The library could not be reached: the status field is this window's only report.
        setStatusText(QStringLiteral("Error %1, %2\r\n")
                          .arg(failure.number())
                          .arg(QString::fromStdString(failure.description())));
        return {config::ExchangeStatus::NotWritten, {}, {}, false};
    }
    if (outcome.effect.decoded) showAnswer(record, outcome.effect);
    if (!outcome.getLine.empty()) appendLog(QString::fromStdString(outcome.getLine));
    setStatusText(QString::fromStdString(outcome.status));
    inputReportId_->setText(hexByte(outcome.answer[0]));
    readBuffer_->setText(QString::fromStdString(outcome.answerText));
    return config::stepOutcome(outcome, lengths);
}

void Dialog2::showAnswer(const config::Configuration& record, const config::AnswerEffect& effect) {
    // The mixer panel is not refreshed here; the sequences do that once at their end.
    applySnapshot(record);
    if (effect.version) showVersion(*effect.version);
}

void Dialog2::showVersion(const config::FirmwareVersion& version) {
    fwMajor_ = version.major;
    fwMinor_ = version.minor;
    fwRevision_ = version.revision;
    setWindowTitle(QStringLiteral("Configuration - FW v%1.%2.%3")
                       .arg(version.major)
                       .arg(version.minor)
                       .arg(version.revision));
    match_.setFirmware(version);
    refreshInterfaceMark();
    emit firmwareVersionRead(version.major, version.minor, version.revision);
    // An answer only ever unlocks; the dialog starts locked.
    if (config::supportsMixers(version)) enableMixerControls(true);
    if (config::supportsDecodingMode(version)) enableDecodingModeControls(true);
}

} // namespace orvane
