#include "console/Dialog1.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <exception>
#include <initializer_list>

#include "console/core/console_exchange.h"
#include "console/core/console_presets.h"
#include "console/core/console_request.h"
#include "device/known_devices.h"
#include "device/tavrel_api.h"
#include "report/report_text.h"
#include "resources/string_ids.h"
#include "resources/texts/console_texts.h"
#include "resources/texts/shared_texts.h"
#include "shell/display_text.h"
#include "shell/localization.h"

namespace orvane {

namespace {

constexpr int kOverlapped = -1;

QString fromText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString openFailedText() {
    return QStringLiteral(
        "Open() failed!  - This error typically occurs when you have selected a system device "
        "that is in use by the operating system.  For security purposes, Windows 2000/NT/XP "
        "retains exclusive access to all system devices including mice, keyboards, etc.");
}

} // namespace

Dialog1::Dialog1(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("Dialog1"));
    setWindowTitle(QStringLiteral("HID Console"));
    buildLayout();

    connect(Send_, &QPushButton::clicked, this, [this] { Send_Click(); });
    connect(CancelButton_, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    connect(Command4_, &QPushButton::clicked, this, [this] { Command4_Click(); });
    // Pasted line breaks and tabs turn into blanks in the field itself, so that it shows
    // what Send will read.
    connect(WriteBuffer_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString oneLine = fromText(console::dataFieldText(text.toStdString()));
        if (oneLine == text) return;
        const QString before = text.left(WriteBuffer_->cursorPosition());
        WriteBuffer_->setText(oneLine);
        WriteBuffer_->setCursorPosition(
            static_cast<int>(fromText(console::dataFieldText(before.toStdString())).size()));
    });
}

void Dialog1::setDeviceValues(const DeviceValues& values) {
    values_ = values;
}

void Dialog1::updateLocalization() {
    const int offset = context_.language.offset;
    const auto text = [offset](int id) { return fromText(localized(id, offset)); };
    CancelButton_->setText(text(text_id::kCancelButton));
    Send_->setText(text(text_id::kSendButton));
    for (QPushButton* custom : Custom_Command_)
        custom->setText(text(text_id::kNotAssigned));
    customFrame_->setTitle(text(text_id::kAssignedCommands));
    Command4_->setText(text(text_id::kClearButton));
    readFrame_->setTitle(text(text_id::kReadFrame));
    writeFrame_->setTitle(text(text_id::kWriteFrame));
    deviceFrame_->setTitle(text(text_id::kDeviceFrame));
    WriteBuffer_->setToolTip(text(text_id::kDataBytesTip));
}

void Dialog1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loaded_) Form_Load();
}

void Dialog1::Form_Load() {
    loaded_ = true;
    OutputReportID_->setText(QStringLiteral("0"));
    InputReportID_->setText(QStringLiteral("0"));
    WriteBuffer_->clear();
    ReadBuffer_->clear();
    logText_.clear();
    logBox_->clear();

    VendID_->setText(QLatin1Char(' ') + QString::number(values_.vendorId));
    ProdID_->setText(QLatin1Char(' ') + QString::number(values_.productId));
    DevName_->setText(fromText(values_.deviceName));
    SerNum_->setText(fromText(values_.serialNumber));
    DevName_->setToolTip(DevName_->text());
    SerNum_->setToolTip(SerNum_->text());
    InRptLen_->setText(QString::number(values_.inputReportLen));
    OutRptLen_->setText(QString::number(values_.outputReportLen));

    // The main window opened the device already; its handles are closed before the
    // console opens its own, so that exactly one read and one write handle stay open.
    int opened = 0;
    try {
        context_.tavrel.CloseRead();
        context_.tavrel.CloseWrite();
        opened = context_.tavrel.Open(static_cast<uint32_t>(values_.vendorId),
                                      static_cast<uint32_t>(values_.productId),
                                      values_.manufacturer.c_str(), values_.serialNumber.c_str(),
                                      values_.deviceName.c_str(), kOverlapped);
    } catch (const std::exception&) {
        // A missing library or function is an opening that failed: the console writes no
        // log entries.
        opened = 0;
    }
    if (opened != 1) {
        for (QWidget* w : std::initializer_list<QWidget*>{Send_, WriteBuffer_, ReadBuffer_,
                                                          OutputReportID_, InputReportID_})
            w->setEnabled(false);
        setStatusText(openFailedText());
    } else {
        setStatusText(QStringLiteral("Open Completed!"));
    }
}

void Dialog1::Send_Click() {
    setStatusText({});
    Status_->repaint();
    const console::ConsoleLengths lengths{values_.outputReportLen, values_.inputReportLen};
    const console::ConsoleRequest request = console::prepareRequest(
        OutputReportID_->text().toStdString(), WriteBuffer_->text().toStdString(),
        ReadAttempts_Box_->text().toStdString(), lengths.output, lengths.input);
    if (!request.ok()) {
        // Nothing is sent and the fields keep what the user typed.
        setStatusText(fromText(request.refusal));
        return;
    }

    ReadBuffer_->clear();
    InputReportID_->clear();
    ReadBuffer_->setPlaceholderText({});
    OutputReportID_->setText(fromText(report::hexByteText(request.output[0])));
    WriteBuffer_->setText(fromText(console::dataBytesText(request.output, lengths.output)));
    appendConsole(fromText(console::txLine(request.output, lengths.output)));
    repaint();

    // The maker's interfaces answer with the request's report id; other devices often
    // answer an output report with an input report of another id.
    const auto rule = isKnownDevice(values_.vendorId, values_.productId)
                          ? console::AnswerRule::RequestId
                          : console::AnswerRule::FirstReport;
    console::ConsoleOutcome outcome;
    try {
        outcome = console::runConsoleExchange(context_.port, request.output, request.attempts,
                                              lengths, rule);
    } catch (const std::exception& failure) {
        setStatusText(fromText(failure.what()));
        return;
    }

    // An attempt that read no report says so rather than showing an empty buffer as one.
    const QString noReport = fromText(localized(text_id::kNoReportCame, context_.language.offset));
    QString received;
    for (std::size_t i = 0; i < outcome.answers.size(); ++i)
        received += outcome.arrived[i]
                        ? fromText(console::rxLine(outcome.answers[i], lengths.input))
                        : QStringLiteral("rx: ") + noReport + QStringLiteral("\r\n");
    appendConsole(received);
    setStatusText(fromText(console::outcomeStatus(outcome, lengths.input)));
    if (outcome.arrived.empty() || !outcome.arrived.back()) {
        ReadBuffer_->setPlaceholderText(noReport);
        return;
    }
    const report::ReportBuffer& last = outcome.answers.back();
    InputReportID_->setText(fromText(report::hexByteText(last[0])));
    ReadBuffer_->setText(fromText(console::dataBytesText(last, lengths.input)));
}

void Dialog1::preset_Click(int button) {
    for (const console::ConsolePreset& preset : console::kConsolePresets) {
        if (preset.button != button) continue;
        OutputReportID_->setText(fromText(console::kPresetReportId));
        WriteBuffer_->setText(fromText(preset.data));
        Send_Click();
        return;
    }
}

void Dialog1::Assign_Command_Click(int index) {
    if (index < 0 || index >= static_cast<int>(Custom_Command_.size())) return;
    const QString report = OutputReportID_->text() + QLatin1Char(' ') + WriteBuffer_->text();
    QPushButton* custom = Custom_Command_[static_cast<std::size_t>(index)];
    custom->setText(report);
    custom->setToolTip(QStringLiteral("send ") + report);
}

void Dialog1::Custom_Command_Click(int index) {
    if (index < 0 || index >= static_cast<int>(Custom_Command_.size())) return;
    const QString caption = Custom_Command_[static_cast<std::size_t>(index)]->text();
    OutputReportID_->setText(caption.left(2));
    WriteBuffer_->setText(caption.mid(3));
    Send_Click();
}

void Dialog1::Command4_Click() {
    logText_.clear();
    logBox_->clear();
}

void Dialog1::CancelButton_Click() {
    reject();
}

void Dialog1::done(int result) {
    closeDevice();
    QDialog::done(result);
}

void Dialog1::closeDevice() {
    if (deviceClosed_) return;
    deviceClosed_ = true;
    try {
        context_.tavrel.CloseRead();
        context_.tavrel.CloseWrite();
    } catch (const std::exception&) {
        // Nothing is open when the library is missing.
    }
}

void Dialog1::appendConsole(const QString& text) {
    logText_ += text;
    logBox_->setPlainText(displayText(logText_));
    logBox_->moveCursor(QTextCursor::End);
}

void Dialog1::setStatusText(const QString& text) {
    statusText_ = text;
    Status_->setPlainText(displayText(statusText_));
}

} // namespace orvane
