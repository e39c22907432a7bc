// The controls of the HID console and their places. Every control carries its resource name
// as objectName; element i of a control array is "Name_i".
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

#include <algorithm>

#include "console/Dialog1.h"
#include "console/core/console_presets.h"

namespace orvane {
namespace {

// The blank that a line edit leaves between its frame and its text on either side.
constexpr int kLineEditSideMargin = 2;

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* makeField(QWidget* parent, const char* name, bool readOnly) {
    auto* field = named(new QLineEdit(parent), QString::fromLatin1(name));
    field->setReadOnly(readOnly);
    return field;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& toolTip = {}) {
    auto* button = named(new QPushButton(parent), name);
    if (!toolTip.isEmpty()) button->setToolTip(toolTip);
    return button;
}

QPlainTextEdit* makeTextBox(QWidget* parent, const char* name) {
    auto* box = named(new QPlainTextEdit(parent), QString::fromLatin1(name));
    box->setReadOnly(true);
    return box;
}

// The longest report of the interface in either mode: the boot loader's 22 bytes, 21 of
// them data (the "format" preset sends as many).
constexpr int kWidestReportBytes = 21;

// Wide enough to show the sample text whole, as the style frames a line edit.
void fitText(QLineEdit* field, const QString& sample) {
    const int text = field->fontMetrics().horizontalAdvance(sample);
    // The frame and the inner margins of a line edit, as the style adds them.
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QMargins margins = field->textMargins();
    const QSize size = field->style()->sizeFromContents(
        QStyle::CT_LineEdit, &option,
        QSize(text + margins.left() + margins.right() + 2 * kLineEditSideMargin,
              field->sizeHint().height()),
        field);
    field->setMinimumWidth(size.width());
}

// Wide enough to show that many bytes as the console writes them ("00 " each), whichever
// hexadecimal digits they hold.
void fitReportBytes(QLineEdit* field, int bytes) {
    const QFontMetrics metrics = field->fontMetrics();
    QChar widest = QLatin1Char('0');
    for (const QChar c : QStringLiteral("0123456789ABCDEF"))
        if (metrics.horizontalAdvance(c) > metrics.horizontalAdvance(widest)) widest = c;
    fitText(field, QString(QString(2, widest) + QLatin1Char(' ')).repeated(bytes));
}

void addRow(QGridLayout* grid, const char* label, QWidget* field) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
    grid->addWidget(field, row, 1);
}

} // namespace

void Dialog1::buildLayout() {
    deviceFrame_ = new QGroupBox(this);
    auto* deviceGrid = new QGridLayout(deviceFrame_);
    VendID_ = makeField(deviceFrame_, "VendID", true);
    ProdID_ = makeField(deviceFrame_, "ProdID", true);
    DevName_ = makeField(deviceFrame_, "DevName", true);
    SerNum_ = makeField(deviceFrame_, "SerNum", true);
    InRptLen_ = makeField(deviceFrame_, "InRptLen", true);
    OutRptLen_ = makeField(deviceFrame_, "OutRptLen", true);
    // Ids as the console writes them (" 65535"), report lengths up to 101 bytes, and device
    // strings of a usual length; a longer string shows whole in its tooltip.
    for (QLineEdit* id : {VendID_, ProdID_})
        fitText(id, QStringLiteral(" 65535"));
    for (QLineEdit* length : {InRptLen_, OutRptLen_})
        fitText(length, QStringLiteral("101"));
    for (QLineEdit* text : {DevName_, SerNum_})
        fitText(text, QStringLiteral("WWWWWWWWWWWW"));
    addRow(deviceGrid, "VendorID:", VendID_);
    addRow(deviceGrid, "ProductID:", ProdID_);
    addRow(deviceGrid, "Device Name:", DevName_);
    addRow(deviceGrid, "Serial Number:", SerNum_);
    addRow(deviceGrid, "Inut Report Len:", InRptLen_);
    addRow(deviceGrid, "Output Report Len:", OutRptLen_);

    writeFrame_ = new QGroupBox(this);
    auto* writeGrid = new QGridLayout(writeFrame_);
    OutputReportID_ = makeField(writeFrame_, "OutputReportID", false);
    WriteBuffer_ = makeField(writeFrame_, "WriteBuffer", false);
    ReadAttempts_Box_ = makeField(writeFrame_, "ReadAttempts_Box", false);
    ReadAttempts_Box_->setToolTip(QStringLiteral("how many responses should be read after write"));
    ReadAttempts_Box_->setText(QStringLiteral("1"));
    Send_ = makeButton(writeFrame_, QStringLiteral("Send"), QStringLiteral("send HID report"));
    addRow(writeGrid, "Report ID:", OutputReportID_);
    addRow(writeGrid, "Data Bytes (hex):", WriteBuffer_);
    addRow(writeGrid, "Read Attempts", ReadAttempts_Box_);
    writeGrid->addWidget(Send_, writeGrid->rowCount(), 1, Qt::AlignRight);

    readFrame_ = new QGroupBox(this);
    auto* readGrid = new QGridLayout(readFrame_);
    InputReportID_ = makeField(readFrame_, "InputReportID", true);
    ReadBuffer_ = makeField(readFrame_, "ReadBuffer", true);
    addRow(readGrid, "Report ID:", InputReportID_);
    addRow(readGrid, "Data Bytes (hex):", ReadBuffer_);
    fitReportBytes(WriteBuffer_, kWidestReportBytes);
    fitReportBytes(ReadBuffer_, kWidestReportBytes);
    // The report id fields hold one byte; the data fields take the rest of the width.
    for (QGridLayout* grid : {writeGrid, readGrid})
        grid->setColumnStretch(1, 1);

    Status_ = makeTextBox(this, "Status");
    Status_->setMaximumHeight(Status_->fontMetrics().lineSpacing() * 5);

    auto* consoleFrame = new QGroupBox(QStringLiteral("Console"), this);
    auto* consoleColumn = new QVBoxLayout(consoleFrame);
    logBox_ = makeTextBox(consoleFrame, "logBox");
    logBox_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    logBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    Command4_ =
        makeButton(consoleFrame, QStringLiteral("Command4"), QStringLiteral("Clear console"));
    consoleColumn->addWidget(logBox_);
    consoleColumn->addWidget(Command4_, 0, Qt::AlignRight);

    auto* presetFrame = new QGroupBox(this);
    auto* presetGrid = new QGridLayout(presetFrame);
    int place = 0;
    for (const console::ConsolePreset& preset : console::kConsolePresets) {
        auto* button =
            makeButton(presetFrame, QStringLiteral("Command") + QString::number(preset.button));
        button->setText(QString::fromLatin1(preset.caption.data(),
                                            static_cast<qsizetype>(preset.caption.size())));
        presetGrid->addWidget(button, place / 2, place % 2);
        ++place;
        const int number = preset.button;
        connect(button, &QPushButton::clicked, this, [this, number] { preset_Click(number); });
    }

    customFrame_ = new QGroupBox(this);
    auto* customGrid = new QGridLayout(customFrame_);
    for (int i = 0; i < 10; ++i) {
        const QString suffix = QLatin1Char('_') + QString::number(i);
        auto* assign = makeButton(customFrame_, QStringLiteral("Assign_Command") + suffix,
                                  QStringLiteral("assign write report"));
        assign->setText(QStringLiteral("<"));
        auto* custom = makeButton(customFrame_, QStringLiteral("Custom_Command") + suffix);
        Assign_Command_[static_cast<std::size_t>(i)] = assign;
        Custom_Command_[static_cast<std::size_t>(i)] = custom;
        customGrid->addWidget(custom, i, 0);
        customGrid->addWidget(assign, i, 1);
        connect(assign, &QPushButton::clicked, this, [this, i] { Assign_Command_Click(i); });
        connect(custom, &QPushButton::clicked, this, [this, i] { Custom_Command_Click(i); });
    }
    customGrid->setColumnStretch(0, 1);

    CancelButton_ = makeButton(this, QStringLiteral("CancelButton"));

    // Write above read, beside the device's identity: the data fields get the width of a
    // whole report.
    auto* exchange = new QVBoxLayout;
    exchange->addWidget(writeFrame_);
    exchange->addWidget(readFrame_);
    auto* fields = new QHBoxLayout;
    fields->addWidget(deviceFrame_);
    fields->addLayout(exchange, 1);
    // The presets beside the console, so that the window fits a 1280x720 screen.
    auto* consoleRow = new QHBoxLayout;
    consoleRow->addWidget(consoleFrame, 1);
    consoleRow->addWidget(presetFrame, 0, Qt::AlignTop);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(Status_);
    left->addLayout(consoleRow, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(customFrame_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(CancelButton_, 0, Qt::AlignRight);

    // Enter in a text box must not press a button.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

} // namespace orvane
