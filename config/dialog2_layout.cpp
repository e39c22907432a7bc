// The controls of the configuration dialog and their places. Every control carries its
// resource name as objectName; element i of a control array is "Name_i".
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "config/Dialog2.h"
#include "config/axis_box.h"
#include "config/core/item_ranges.h"
#include "config/value_slider.h"
#include "signal/signal_tab.h"

namespace orvane {
namespace {

constexpr std::array<const char*, 8> kAxisLabels = {"X", "Y", "Z", "Rx", "Ry", "Rz", "Sl", "Di"};

QString indexed(const char* name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

template <class Slider = QSlider>
Slider* makeSlider(QWidget* parent, const QString& name, config::ItemRange range, int ticks,
                   int page) {
    auto* slider = named(new Slider(Qt::Horizontal, parent), name);
    slider->setRange(range.min, range.max);
    slider->setSingleStep(1);
    slider->setPageStep(page);
    slider->setTickInterval(ticks);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = {}) {
    return named(new QLabel(text, parent), name);
}

// A label inside a frame that is disabled as a whole, drawn as if it were enabled.
QLabel* makeSteadyLabel(QWidget* parent, const QString& name) {
    QLabel* label = makeLabel(parent, name);
    QPalette palette = label->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    label->setPalette(palette);
    return label;
}

// "1 2 3 4 5 6 7 8" spread over the width of the channel sliders.
QWidget* makeChannelScale(QWidget* parent, const QString& name) {
    auto* scale = named(new QWidget(parent), name);
    auto* row = new QHBoxLayout(scale);
    row->setContentsMargins(4, 0, 4, 0);
    for (int channel = 1; channel <= 8; ++channel) {
        if (channel > 1) row->addStretch();
        row->addWidget(new QLabel(QString::number(channel), scale));
    }
    return scale;
}

QLineEdit* makeField(QWidget* parent, const QString& name, bool readOnly) {
    auto* field = named(new QLineEdit(parent), name);
    field->setReadOnly(readOnly);
    return field;
}

// Indicator boxes show the joystick's buttons; the user cannot toggle them.
QCheckBox* makeIndicator(QWidget* parent, const QString& name) {
    auto* box = named(new QCheckBox(parent), name);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

struct OneCommandButton {
    const char* name;
    const char* caption;
};

// Captions show the request each button sends.
constexpr std::array<OneCommandButton, 21> kOneCommandButtons = {{
    {"Command11", "&Enter Programming Mode 00 08 15 EE 01 00 00"},
    {"Command12", "&Exit Programming Mode 00 08 15 EE FF 00 00"},
    {"Command20", "Exit and Save               00 08 15 EE FF 01 00"},
    {"Command13", "&Get Axis Config         00 08 15 EE 10 00 00"},
    {"Command3", "Get Button Config       00 08 15 EE 11 00 00"},
    {"Command4", "Get Trigger Level 1-4 00 08 15 EE 12 00 00"},
    {"Command5", "GetTrigger Level 5-7 00 08 15 EE 13 00 00"},
    {"Command8", "Get Mixer 1-4 Assignment 00 08 15 EE 14 00 00"},
    {"Command10", "Get Mixer 5-8 Assignment 00 08 15 EE 15 00 00"},
    {"Command15", "Get Axis 0-3 Neutral Position 00 08 15 EE 16 00 00"},
    {"Command19", "Get Axis 4-7 Neutral Position 00 08 15 EE 17 00 00"},
    {"Command21", "get Mixer 1-4 factor 00 08 15 EE 18 00 00"},
    {"Command22", "get Mixer 5-8 factor 00 08 15 EE 19 00 00"},
    {"Command23", "get Mixer 1-4 exponent 00 08 15 EE 1A 00 00"},
    {"Command24", "get Mixer 5-8 exponent 00 08 15 EE 1B 00 00"},
    {"Command28", "get Version 00 08 15 EE 1C 00 00"},
    {"Command27", "get Decoding Mode 00 08 15 EE 1D 00 00"},
    {"Command29", "get Mixer 1-4 Q-factor 00 08 15 EE 1E 00 00"},
    {"Command30", "get Mixer 5-8 Q-factor 00 08 15 EE 1F 00 00"},
    {"Command31", "get Mixer 1-4 Q-exponent 00 08 15 EE A0 00 00"},
    {"Command32", "get Mixer 5-8 Q-exponent 00 08 15 EE A1 00 00"},
}};

} // namespace

void Dialog2::buildLayout() {
    setWindowTitle(QStringLiteral("Configuration"));

    auto* tabs = named(new QTabWidget(this), QStringLiteral("pages"));

    auto* editor = named(new QWidget(tabs), QStringLiteral("editorPage"));
    auto* page = new QVBoxLayout(editor);
    // What the last Load, Transmit or Store came to, above the controls it concerns.
    sequenceOutcome_ = makeLabel(editor, QStringLiteral("SequenceOutcome"));
    sequenceOutcome_->setWordWrap(true);
    sequenceOutcome_->setTextFormat(Qt::PlainText);
    sequenceOutcome_->hide();
    page->addWidget(sequenceOutcome_);
    auto* columns = new QHBoxLayout;
    page->addLayout(columns, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(buildAxisFrame());
    left->addWidget(buildButtonFrame());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(buildMixerFrame());
    auto* options = new QHBoxLayout;
    options->addWidget(buildDecodingFrame());
    options->addWidget(buildPresetFrame(), 1);
    right->addLayout(options);
    right->addWidget(makeLabel(editor, QStringLiteral("Label10_4")));
    lstListe_ = named(new QListWidget(editor), QStringLiteral("lst_Liste"));
    lstListe_->setMaximumHeight(70);
    right->addWidget(lstListe_);
    right->addStretch();
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    tabs->addTab(editor, QStringLiteral("Configuration"));
    tabs->addTab(buildDebugPanel(), QStringLiteral("Debug Info"));
    signalTab_ = new signal::SignalTab(context_, tabs);
    tabs->addTab(signalTab_, QStringLiteral("Signal"));

    // The pages scroll on screens smaller than the dialog (a laptop with a panel); the
    // buttons below them stay in view.
    auto* pagesArea = named(new QScrollArea(this), QStringLiteral("pagesArea"));
    pagesArea->setFrameShape(QFrame::NoFrame);
    pagesArea->setWidgetResizable(true);
    pagesArea->setWidget(tabs);
    auto* actions = buildActionRow();
    auto* main = new QVBoxLayout(this);
    main->addWidget(pagesArea, 1);
    main->addWidget(actions);
    resizeToFitScreen(tabs->sizeHint(), actions->sizeHint(), *main);

    timerStartupRead_ = named(new QTimer(this), QStringLiteral("TimerStartupRead"));
    timerStartupRead_->setInterval(100);
    timerJoy_ = named(new QTimer(this), QStringLiteral("TimerJoy"));
    timerJoy_->setInterval(50);
}

void Dialog2::resizeToFitScreen(QSize pages, QSize actions, const QLayout& main) {
    const QMargins margins = main.contentsMargins();
    QSize natural(std::max(pages.width(), actions.width()),
                  pages.height() + main.spacing() + actions.height());
    natural = natural.grownBy(margins);
    if (const QScreen* s = screen()) {
        // Room for the window frame, which is not known before the window is shown.
        const QSize room = s->availableGeometry().size() - QSize(16, 48);
        natural = natural.boundedTo(room);
    }
    resize(natural);
}

QWidget* Dialog2::buildAxisFrame() {
    auto* frame = named(new QGroupBox(this), QStringLiteral("Frame2"));
    frame->setToolTip(QStringLiteral("change R/C channel -> joystick axis assignment"));
    auto* grid = new QGridLayout(frame);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label1")), 0, 0);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label11")), 0, 1);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label10_8")), 0, 2);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label10_2")), 0, 3);
    grid->addWidget(makeChannelScale(frame, QStringLiteral("channelScaleAxes")), 1, 1);
    for (int i = 0; i < 8; ++i) {
        const int row = i + 2;
        grid->addWidget(makeLabel(frame, indexed("axisLabel", i), kAxisLabels[i]), row, 0);
        slider1_[i] = makeSlider(frame, indexed("Slider1", i), config::kChannelRange, 1, 5);
        grid->addWidget(slider1_[i], row, 1);
        check1_[i] = named(new QCheckBox(frame), indexed("Check1", i));
        grid->addWidget(check1_[i], row, 2);
        axisBox_[i] = named(new AxisBox(frame), indexed("AxisBox", 8 + i));
        auto* inside = new QHBoxLayout(axisBox_[i]);
        inside->setContentsMargins(2, 0, 2, 0);
        label31_[i] = makeLabel(axisBox_[i], indexed("Label31", 8 + i));
        inside->addWidget(label31_[i], 0, Qt::AlignCenter);
        grid->addWidget(axisBox_[i], row, 3);
    }
    grid->setColumnStretch(1, 1);
    return frame;
}

QWidget* Dialog2::buildButtonFrame() {
    auto* frame = named(new QGroupBox(this), QStringLiteral("Frame4_0"));
    frame->setToolTip(QStringLiteral("change R/C channel -> joystick button assignment"));
    auto* grid = new QGridLayout(frame);
    auto* trigger = makeLabel(frame, QStringLiteral("Label7"));
    trigger->setWordWrap(true);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label12")), 0, 0);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label22")), 0, 1);
    grid->addWidget(trigger, 0, 2);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label8")), 0, 3);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label21")), 0, 4);
    grid->addWidget(makeLabel(frame, QStringLiteral("Label10_3")), 0, 5);
    grid->addWidget(makeChannelScale(frame, QStringLiteral("channelScaleButtons")), 1, 1);
    for (int i = 0; i < 8; ++i) {
        const int row = i + 2;
        grid->addWidget(makeLabel(frame, indexed("buttonNumber", i), QString::number(i + 1)), row,
                        0);
        slider3_[i] = makeSlider(frame, indexed("Slider3", i), config::kChannelRange, 1, 5);
        grid->addWidget(slider3_[i], row, 1);
        slider2_[i] = makeSlider(frame, indexed("Slider2", i), config::kThresholdRange, 10, 5);
        grid->addWidget(slider2_[i], row, 2);
        check2_[i] = named(new QCheckBox(frame), indexed("Check2", i));
        grid->addWidget(check2_[i], row, 3);
        check3_[i] = named(new QCheckBox(frame), indexed("Check3", i));
        grid->addWidget(check3_[i], row, 4);
        buttonCheck_[i] = makeIndicator(frame, indexed("ButtonCheck", 8 + i));
        grid->addWidget(buttonCheck_[i], row, 5);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    return frame;
}

QWidget* Dialog2::buildMixerFrame() {
    frame8_ = named(new QGroupBox(this), QStringLiteral("Frame8_0"));
    auto* grid = new QGridLayout(frame8_);
    int row = 0;
    const auto addRow = [&](const char* label, QSlider* slider, QWidget* text) {
        grid->addWidget(makeLabel(frame8_, QString::fromLatin1(label)), row, 0);
        grid->addWidget(slider, row, 1);
        if (text) grid->addWidget(text, row, 2);
        ++row;
    };
    const auto textBox = [&](int k) {
        text1_[k] = named(new QLineEdit(frame8_), indexed("Text1", k));
        text1_[k]->setMaximumWidth(60);
        return text1_[k];
    };
    // Mixer number, source and destination have no text box: they show their value beside.
    std::array<ValueSlider*, 3> shown = {
        makeSlider<ValueSlider>(frame8_, QStringLiteral("Slider8"), config::kMixerNumberRange, 1,
                                5),
        makeSlider<ValueSlider>(frame8_, QStringLiteral("Slider4_0"), config::kChannelRange, 1, 1),
        makeSlider<ValueSlider>(frame8_, QStringLiteral("Slider4_1"), config::kChannelRange, 1, 1)};
    slider8_ = shown[0];
    slider4_[0] = shown[1];
    slider4_[1] = shown[2];
    slider5_ = makeSlider(frame8_, QStringLiteral("Slider5"), config::kMixerByteRange, 20, 5);
    slider6_ = makeSlider(frame8_, QStringLiteral("Slider6"), config::kMixerSignedRange, 20, 5);
    slider7_ = makeSlider(frame8_, QStringLiteral("Slider7"), config::kMixerByteRange, 20, 5);
    slider9_ = makeSlider(frame8_, QStringLiteral("Slider9"), config::kMixerSignedRange, 20, 5);
    slider10_ = makeSlider(frame8_, QStringLiteral("Slider10"), config::kMixerByteRange, 20, 5);

    const auto valueLabel = [&](ValueSlider* slider) {
        auto* label = named(new QLabel(frame8_), slider->objectName() + QStringLiteral("Value"));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        slider->showValueIn(label);
        return label;
    };
    addRow("Label30_0", slider8_, valueLabel(shown[0]));
    addRow("Label25_0", slider4_[0], valueLabel(shown[1]));
    addRow("Label26_0", slider4_[1], valueLabel(shown[2]));
    addRow("Label27_0", slider5_, textBox(0));
    // The section titles "Linear" and "Quadratic" keep their look while the mixer is locked.
    grid->addWidget(makeSteadyLabel(frame8_, QStringLiteral("Label28_2")), row++, 0);
    addRow("Label28_0", slider6_, textBox(1));
    addRow("Label29_0", slider7_, textBox(2));
    grid->addWidget(makeSteadyLabel(frame8_, QStringLiteral("Label28_3")), row++, 0);
    addRow("Label28_1", slider9_, textBox(3));
    addRow("Label29_1", slider10_, textBox(4));
    command7_ = named(new QPushButton(frame8_), QStringLiteral("Command7"));
    grid->addWidget(command7_, row, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    return frame8_;
}

QWidget* Dialog2::buildDecodingFrame() {
    auto* frame = named(new QGroupBox(this), QStringLiteral("Frame9"));
    auto* column = new QVBoxLayout(frame);
    option1_[0] =
        named(new QRadioButton(QStringLiteral("PPM"), frame), QStringLiteral("Option1_0"));
    option1_[1] =
        named(new QRadioButton(QStringLiteral("ZT 0415 PCM"), frame), QStringLiteral("Option1_1"));
    for (QRadioButton* option : option1_) {
        // Both may be off (a new dialog, a file with 0 and 0), which exclusive buttons forbid.
        option->setAutoExclusive(false);
        column->addWidget(option);
    }
    column->addStretch();
    return frame;
}

QWidget* Dialog2::buildPresetFrame() {
    auto* frame = named(new QGroupBox(this), QStringLiteral("Frame5"));
    frame->setToolTip(QStringLiteral("Load predefined settings"));
    auto* grid = new QGridLayout(frame);
    for (int mode = 1; mode <= 4; ++mode) {
        auto* button = named(new QPushButton(frame), QStringLiteral("bStickMode%1").arg(mode));
        grid->addWidget(button, (mode - 1) / 2, (mode - 1) % 2);
    }
    grid->addWidget(named(new QPushButton(frame), QStringLiteral("bRFG2")), 2, 0);
    grid->addWidget(named(new QPushButton(frame), QStringLiteral("Command17")), 3, 0, 1, 2);
    grid->addWidget(named(new QPushButton(frame), QStringLiteral("Command18")), 4, 0, 1, 2);
    grid->addWidget(named(new QPushButton(frame), QStringLiteral("Command16")), 5, 0, 1, 2);
    bootloaderCheckbox_ = named(new QCheckBox(frame), QStringLiteral("Bootloader_Checkbox"));
    bootloaderCheckbox_->setToolTip(QStringLiteral("enable/ disable Bootloader feature"));
    grid->addWidget(bootloaderCheckbox_, 6, 0, 1, 2);
    return frame;
}

QWidget* Dialog2::buildDebugPanel() {
    auto* panel = named(new QWidget(this), QStringLiteral("debugPage"));
    auto* grid = new QGridLayout(panel);
    int row = 0;
    const auto caption = [&](const char* text) {
        return new QLabel(QString::fromLatin1(text), panel);
    };

    const std::array<std::pair<const char*, QLineEdit**>, 6> identity = {{
        {"ProdID", &prodId_},
        {"VendID", &vendId_},
        {"DevName", &devName_},
        {"SerNum", &serNum_},
        {"InRptLen", &inRptLen_},
        {"OutRptLen", &outRptLen_},
    }};
    auto* identityRow = new QHBoxLayout;
    for (const auto& [name, field] : identity) {
        *field = makeField(panel, QString::fromLatin1(name), true);
        identityRow->addWidget(caption(name));
        identityRow->addWidget(*field);
    }
    grid->addLayout(identityRow, row++, 0, 1, 4);

    outputReportId_ = makeField(panel, QStringLiteral("OutputReportID_0"), false);
    outputReportId_->setMaximumWidth(40);
    writeBuffer_ = makeField(panel, QStringLiteral("WriteBuffer_1"), false);
    grid->addWidget(caption("Write:"), row, 0);
    grid->addWidget(outputReportId_, row, 1);
    grid->addWidget(writeBuffer_, row, 2);
    grid->addWidget(named(new QPushButton(QStringLiteral("Send"), panel), QStringLiteral("Send")),
                    row++, 3);
    inputReportId_ = makeField(panel, QStringLiteral("InputReportID_1"), false);
    inputReportId_->setMaximumWidth(40);
    readBuffer_ = makeField(panel, QStringLiteral("ReadBuffer_0"), false);
    grid->addWidget(caption("Read:"), row, 0);
    grid->addWidget(inputReportId_, row, 1);
    grid->addWidget(readBuffer_, row++, 2);

    status_ = named(new QPlainTextEdit(panel), QStringLiteral("Status"));
    status_->setReadOnly(true);
    status_->setMaximumHeight(60);
    grid->addWidget(caption("Status:"), row, 0);
    grid->addWidget(status_, row++, 1, 1, 3);

    logBox_ = named(new QPlainTextEdit(panel), QStringLiteral("logBox"));
    logBox_->setReadOnly(true);
    grid->addWidget(logBox_, row, 0, 1, 3);
    auto* logButtons = new QVBoxLayout;
    logButtons->addWidget(
        named(new QPushButton(QStringLiteral("Clear"), panel), QStringLiteral("Command2")));
    logButtons->addWidget(named(new QPushButton(QStringLiteral("Filter Joyinfo 01 .."), panel),
                                QStringLiteral("Command9")));
    logButtons->addStretch();
    grid->addLayout(logButtons, row++, 3);

    auto* commands = new QGridLayout;
    for (std::size_t i = 0; i < kOneCommandButtons.size(); ++i) {
        const auto& command = kOneCommandButtons[i];
        auto* button = named(new QPushButton(QString::fromLatin1(command.caption), panel),
                             QString::fromLatin1(command.name));
        commands->addWidget(button, static_cast<int>(i / 3), static_cast<int>(i % 3));
    }
    grid->addLayout(commands, row++, 0, 1, 4);
    grid->setColumnStretch(2, 1);
    return panel;
}

QWidget* Dialog2::buildActionRow() {
    auto* row = named(new QWidget(this), QStringLiteral("actionRow"));
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    const std::array<std::pair<const char*, const char*>, 6> actions = {{
        {"Command25", "Open confiration file and load settings"},
        {"Command26", "Store settings in file"},
        {"Command6", "Read Interface configuration"},
        {"Command14", "Transfer configuration to Interface, but don't save"},
        {"Command1", "Save configuration in Interface"},
        {"CancelButton_0", "Close window without save"},
    }};
    for (const auto& [name, tip] : actions) {
        auto* button = named(new QPushButton(row), QString::fromLatin1(name));
        button->setToolTip(QString::fromLatin1(tip));
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    progressBar1_ = named(new QProgressBar(row), QStringLiteral("ProgressBar1"));
    progressBar1_->setRange(0, 100);
    progressBar1_->setValue(0);
    progressBar1_->setTextVisible(false);
    layout->addWidget(progressBar1_);
    return row;
}

} // namespace orvane
