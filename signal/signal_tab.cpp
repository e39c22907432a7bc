#include "signal/signal_tab.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

#include "report/clock.h"
#include "report/exchange.h"
#include "resources/string_table.h"
#include "resources/texts/signal_texts.h"
#include "shell/ui_services.h"
#include "signal/strip_chart.h"

namespace orvane::signal {

namespace {

constexpr std::array<int, 7> kFigureRows = {text_id::kSignalReports,   text_id::kSignalDuration,
                                            text_id::kSignalRate,      text_id::kSignalIntervals,
                                            text_id::kSignalHistogram, text_id::kSignalDropouts,
                                            text_id::kSignalRepeats};
constexpr std::array<int, 6> kAxisColumns = {text_id::kSignalCurrent, text_id::kSignalMin,
                                             text_id::kSignalMax,     text_id::kSignalMean,
                                             text_id::kSignalStd,     text_id::kSignalPtp1s};
constexpr std::array<int, 2> kButtonColumns = {text_id::kSignalPressed, text_id::kSignalChanges};

QTableWidget* makeTable(QWidget* parent, const char* name, int rows, int columns) {
    auto* table = new QTableWidget(rows, columns, parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    // Rows of one text line: sized once, not measured again at every refresh of the figures.
    table->verticalHeader()->setMinimumSectionSize(16);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    return table;
}

void setCell(QTableWidget& table, int row, int column, const QString& text) {
    QTableWidgetItem* item = table.item(row, column);
    if (item->text() != text) item->setText(text);
}

QString sizeText(std::uintmax_t bytes) {
    if (bytes < 1024) return QStringLiteral("%1 B").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg(static_cast<double>(bytes) / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

QString ms(double value) {
    return QString::number(value, 'f', 2);
}

// The histogram's filled bins as "ms: count", the last bin open upwards.
QString histogramText(const IntervalFigures& intervals) {
    QStringList parts;
    for (int bin = 0; bin < IntervalFigures::kBins; ++bin) {
        const long count = intervals.histogram[static_cast<std::size_t>(bin)];
        if (count == 0) continue;
        const QString from = bin + 1 == IntervalFigures::kBins ? QStringLiteral("≥%1").arg(bin)
                                                               : QString::number(bin);
        parts << QStringLiteral("%1: %2").arg(from).arg(count);
    }
    return parts.join(QStringLiteral("  "));
}

QTabWidget* tabsOf(QWidget* page) {
    for (QWidget* w = page->parentWidget(); w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) return tabs;
    return nullptr;
}

} // namespace

SignalTab::SignalTab(AppContext& context, QWidget* parent, Reading reading)
    : QWidget(parent), context_(context), reading_(reading) {
    setObjectName(QStringLiteral("SignalTab"));
    buildLayout();
    chartTimer_ = new QTimer(this);
    chartTimer_->setInterval(kChartTick);
    connect(chartTimer_, &QTimer::timeout, this, [this] { refreshChart(context_.clock.now()); });
    figuresTimer_ = new QTimer(this);
    figuresTimer_->setInterval(kFiguresTick);
    connect(figuresTimer_, &QTimer::timeout, this, &SignalTab::refreshFigures);
    updateLocalization();
}

SignalTab::~SignalTab() {
    stopListening();
    if (recording_) recording_->finish();
}

bool SignalTab::recording() const {
    const std::lock_guard lock(gathered_);
    return recording_.has_value();
}

long SignalTab::recordedReports() const {
    const std::lock_guard lock(gathered_);
    return recording_ ? recording_->reports() : 0;
}

void SignalTab::holdReading() {
    if (holds_++ == 0 && reader_) readerPause_.emplace(reader_->pause());
}

void SignalTab::releaseReading() {
    if (holds_ > 0 && --holds_ == 0) readerPause_.reset();
}

void SignalTab::buildLayout() {
    auto* page = new QVBoxLayout(this);
    auto* controls = new QHBoxLayout;
    const auto button = [&](const char* name, void (SignalTab::*handler)()) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        controls->addWidget(b);
        return b;
    };
    pause_ = button("SignalPause", &SignalTab::Pause_Click);
    clear_ = button("SignalClear", &SignalTab::Clear_Click);
    record_ = button("SignalRecord", &SignalTab::Record_Click);
    savePicture_ = button("SignalSavePicture", &SignalTab::SavePicture_Click);
    recordingState_ = new QLabel(this);
    recordingState_->setObjectName(QStringLiteral("SignalRecordingState"));
    recordingState_->setTextFormat(Qt::PlainText);
    controls->addWidget(recordingState_, 1);
    page->addLayout(controls);

    chart_ = new StripChart(this);
    chart_->setObjectName(QStringLiteral("SignalChart"));
    page->addWidget(chart_, 3);

    figuresSince_ = new QLabel(this);
    figuresSince_->setObjectName(QStringLiteral("SignalFiguresSince"));
    page->addWidget(figuresSince_);
    auto* tables = new QHBoxLayout;
    figures_ = makeTable(this, "SignalFigures", static_cast<int>(kFigureRows.size()), 1);
    figures_->horizontalHeader()->hide();
    figures_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < figures_->rowCount(); ++r)
        figures_->item(r, 0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    axes_ = makeTable(this, "SignalAxes", kAxes, static_cast<int>(kAxisColumns.size()));
    QStringList axisNames;
    for (const char* name : kAxisNames)
        axisNames << QString::fromLatin1(name);
    axes_->setVerticalHeaderLabels(axisNames);
    axes_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    buttons_ = makeTable(this, "SignalButtons", kButtons, static_cast<int>(kButtonColumns.size()));
    QStringList buttonNames;
    for (int b = 1; b <= kButtons; ++b)
        buttonNames << QString::number(b);
    buttons_->setVerticalHeaderLabels(buttonNames);
    buttons_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tables->addWidget(figures_, 4);
    tables->addWidget(axes_, 5);
    tables->addWidget(buttons_, 2);
    page->addLayout(tables, 2);
}

QString SignalTab::text(int id) const {
    const std::string_view t = stringTable(id + context_.language.offset);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

void SignalTab::updateLocalization() {
    if (QTabWidget* tabs = tabsOf(this)) {
        const int index = tabs->indexOf(this);
        if (index >= 0) tabs->setTabText(index, text(text_id::kSignalTab));
    }
    pause_->setText(text(paused_ ? text_id::kSignalResume : text_id::kSignalPause));
    clear_->setText(text(text_id::kSignalClear));
    record_->setText(text(recording() ? text_id::kSignalStopRecording : text_id::kSignalRecord));
    savePicture_->setText(text(text_id::kSignalSavePicture));
    chart_->setEmptyText(text(text_id::kSignalNoReports));
    figuresSince_->setText(text(text_id::kSignalFiguresSince));
    QStringList rows;
    for (const int id : kFigureRows)
        rows << text(id);
    figures_->setVerticalHeaderLabels(rows);
    QStringList axisColumns;
    for (const int id : kAxisColumns)
        axisColumns << text(id);
    axes_->setHorizontalHeaderLabels(axisColumns);
    QStringList buttonColumns;
    for (const int id : kButtonColumns)
        buttonColumns << text(id);
    buttons_->setHorizontalHeaderLabels(buttonColumns);
    showRecordingState();
    refreshFigures();
}

void SignalTab::reportArrived(std::span<const uint8_t> report, TimePoint arrival) {
    const std::optional<Sample> sample = parseJoystickReport(report, arrival);
    if (!sample) return; // an answer or another report: not the joystick stream
    const std::lock_guard lock(gathered_);
    scope_.add(*sample);
    // A failed write is told at the next figures tick: this may run inside an exchange.
    if (recording_) recording_->write(*sample);
}

void SignalTab::readQueued() {
    report::ReportBuffer scratch{};
    report::drainQueued(context_.port, scratch);
}

void SignalTab::refreshChart(TimePoint now) {
    if (paused_) return;
    chart_->setSamples(withScope([now](const SignalScope& s) {
                           return s.samplesBetween(now - std::chrono::seconds(10), now);
                       }),
                       now);
}

void SignalTab::refreshFigures() {
    std::optional<std::filesystem::path> failed;
    {
        const std::lock_guard lock(gathered_);
        if (recording_) {
            recording_->flush();
            if (recording_->failed()) failed = recording_->path();
        }
    }
    if (failed) {
        stopRecording();
        tell(text_id::kSignalRecordingStopped, *failed);
    }
    showRecordingState();
    if (paused_) return;
    const Figures f = totals();
    const IntervalFigures& iv = f.intervals;
    setCell(*figures_, 0, 0, QString::number(f.reports));
    setCell(*figures_, 1, 0, QStringLiteral("%1 s").arg(f.seconds, 0, 'f', 1));
    setCell(*figures_, 2, 0, QStringLiteral("%1 Hz").arg(f.rateHz, 0, 'f', 1));
    setCell(
        *figures_, 3, 0,
        iv.count == 0
            ? QString()
            : QStringLiteral("%1 / %2 / %3 ms").arg(ms(iv.minMs), ms(iv.medianMs), ms(iv.maxMs)));
    setCell(*figures_, 4, 0, histogramText(iv));
    setCell(*figures_, 5, 0, QString::number(f.dropouts));
    setCell(*figures_, 6, 0,
            QStringLiteral("%1 (%2 %)").arg(f.repeats).arg(100.0 * f.repeatShare, 0, 'f', 1));
    figures_->item(4, 0)->setToolTip(figures_->item(4, 0)->text());
    for (int a = 0; a < kAxes; ++a) {
        const AxisFigures& axis = f.axes[static_cast<std::size_t>(a)];
        const bool any = f.reports > 0;
        setCell(*axes_, a, 0, any ? QString::number(axis.current) : QString());
        setCell(*axes_, a, 1, any ? QString::number(axis.min) : QString());
        setCell(*axes_, a, 2, any ? QString::number(axis.max) : QString());
        setCell(*axes_, a, 3, any ? QString::number(axis.mean, 'f', 1) : QString());
        setCell(*axes_, a, 4, any ? QString::number(axis.std, 'f', 2) : QString());
        setCell(*axes_, a, 5, any ? QString::number(axis.ptp1s) : QString());
    }
    for (int b = 0; b < kButtons; ++b) {
        const ButtonFigures& button = f.buttons[static_cast<std::size_t>(b)];
        const bool any = f.reports > 0;
        setCell(*buttons_, b, 0,
                any ? text(button.pressed ? text_id::kSignalYes : text_id::kSignalNo) : QString());
        setCell(*buttons_, b, 1, any ? QString::number(button.changes) : QString());
    }
}

void SignalTab::Pause_Click() {
    paused_ = !paused_;
    pause_->setText(text(paused_ ? text_id::kSignalResume : text_id::kSignalPause));
    if (!paused_) {
        refreshChart(context_.clock.now());
        refreshFigures();
    }
}

void SignalTab::Clear_Click() {
    {
        const std::lock_guard lock(gathered_);
        scope_.clear();
    }
    chart_->setSamples({}, context_.clock.now());
    const bool wasPaused = paused_;
    paused_ = false;
    refreshFigures();
    paused_ = wasPaused;
}

void SignalTab::Record_Click() {
    if (recording()) {
        stopRecording();
        return;
    }
    FileDialogRequest request;
    request.title = text(text_id::kSignalRecordTitle).toStdString();
    request.filter = text(text_id::kSignalCsvFilter).toStdString();
    const std::string name = context_.ui.saveFileName(window(), request);
    if (name.empty()) return;
    CsvRecording started(std::filesystem::path(name), context_.clock.now());
    if (started.failed()) {
        tell(text_id::kSignalCannotWrite, name);
        return;
    }
    {
        const std::lock_guard lock(gathered_);
        recording_.emplace(std::move(started));
    }
    record_->setText(text(text_id::kSignalStopRecording));
    showRecordingState();
}

void SignalTab::stopRecording() {
    std::optional<CsvRecording> finished;
    {
        const std::lock_guard lock(gathered_);
        finished.swap(recording_);
    }
    if (!finished) return;
    const bool written = finished->finish();
    recordedText_ = written ? text(text_id::kSignalRecorded)
                                  .arg(finished->reports())
                                  .arg(sizeText(finished->bytes()),
                                       QString::fromStdString(finished->path().string()))
                            : QString();
    record_->setText(text(text_id::kSignalRecord));
    showRecordingState();
}

void SignalTab::showRecordingState() {
    const std::lock_guard lock(gathered_);
    if (recording_)
        recordingState_->setText(text(text_id::kSignalRecording)
                                     .arg(recording_->reports())
                                     .arg(sizeText(recording_->bytes())));
    else
        recordingState_->setText(recordedText_);
}

void SignalTab::SavePicture_Click() {
    FileDialogRequest request;
    request.title = text(text_id::kSignalPictureTitle).toStdString();
    request.filter = text(text_id::kSignalPngFilter).toStdString();
    const std::string name = context_.ui.saveFileName(window(), request);
    if (name.empty()) return;
    if (!chart_->picture().save(QString::fromStdString(name), "PNG"))
        tell(text_id::kSignalCannotWrite, name);
}

void SignalTab::tell(int id, const std::filesystem::path& file) {
    MessageBoxRequest request;
    request.text = text(id).arg(QString::fromStdString(file.string())).toStdString();
    request.icon = MessageIcon::Exclamation;
    context_.ui.messageBox(window(), request);
}

void SignalTab::startListening() {
    if (registration_) return;
    // What queued while nobody read has lost its arrival time: read it away unheard. The
    // waiting read binds the library's wait here, on the window's thread, so that a notice
    // about it reaches the event log from this thread.
    report::ReportBuffer scratch{};
    for (int i = 0; i < 1024 && context_.port.readFor(scratch, std::chrono::milliseconds{0}) > 0; ++i) {
    }
    registration_.emplace(context_.port, *this);
    if (reading_ == Reading::OwnThread) {
        reader_.emplace(context_.port);
        if (holds_ > 0) readerPause_.emplace(reader_->pause());
    }
    figuresTimer_->start();
}

void SignalTab::stopListening() {
    figuresTimer_->stop();
    readerPause_.reset();
    reader_.reset();
    registration_.reset();
}

void SignalTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    startListening();
    chartTimer_->start();
    refreshChart(context_.clock.now());
    refreshFigures();
}

void SignalTab::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    chartTimer_->stop();
    // Another tab: the reports are still read, so that no gap shows as a dropout later. The
    // dialog closing: the device is let go.
    if (!window()->isVisible()) stopListening();
}

} // namespace orvane::signal
