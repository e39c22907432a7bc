// The Signal tab of the configuration dialog: the interface's own joystick reports, as they
// come, in a strip chart of the eight axes and a table of figures (rate, intervals,
// dropouts, repeats, per-axis and per-button figures), with Pause, Clear, Record to a CSV
// file and Save Picture.
//
// The reports come from the dialog's report port: every report a read returns reaches the
// tab, those read by the dialog's exchanges included. From the first time the tab is shown
// until the dialog closes, a timer reads what is queued while no exchange reads; the tab
// does not read the port otherwise.
#ifndef ORVANE_SIGNAL_SIGNAL_TAB_H
#define ORVANE_SIGNAL_SIGNAL_TAB_H

#include <QWidget>

#include <chrono>
#include <optional>

#include "report/report_port.h"
#include "shell/app_context.h"
#include "signal/core/signal_scope.h"
#include "signal/csv_recording.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace orvane::signal {

class StripChart;

// How often queued reports are read while no exchange runs. A report waits up to this long
// (plus whatever the window is busy with) before its arrival is stamped; the kernel keeps
// 63 reports, so the bound on the queue is far away.
inline constexpr std::chrono::milliseconds kReadTick{4};
inline constexpr std::chrono::milliseconds kChartTick{33};
inline constexpr std::chrono::milliseconds kFiguresTick{500};

class SignalTab : public QWidget, public report::ReportListener {
    Q_OBJECT
public:
    explicit SignalTab(AppContext& context, QWidget* parent = nullptr);
    ~SignalTab() override;

    // Texts in the context's language, the tab's title included.
    void updateLocalization();

    void reportArrived(std::span<const uint8_t> report, TimePoint arrival) override;

    const SignalScope& scope() const { return scope_; }
    const StripChart& chart() const { return *chart_; }
    bool listening() const { return registration_.has_value(); }
    bool paused() const { return paused_; }
    const CsvRecording* recording() const { return recording_ ? &*recording_ : nullptr; }

    // Handlers of the buttons.
    void Pause_Click();
    void Clear_Click();
    void Record_Click();
    void SavePicture_Click();

    // The timers' work: reading what is queued, the chart as of now, the figures.
    void readQueued();
    void refreshChart(TimePoint now);
    void refreshFigures();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildLayout();
    void startListening();
    void stopListening();
    void stopRecording();
    void showRecordingState();
    QString text(int id) const;
    void tell(int id, const std::filesystem::path& file);

    AppContext& context_;
    SignalScope scope_;
    std::optional<report::ListenerRegistration> registration_;
    std::optional<CsvRecording> recording_;
    QString recordedText_; // what the last recording came to
    bool paused_ = false;

    StripChart* chart_ = nullptr;
    QPushButton* pause_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* record_ = nullptr;
    QPushButton* savePicture_ = nullptr;
    QLabel* recordingState_ = nullptr;
    QLabel* figuresSince_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QTableWidget* axes_ = nullptr;
    QTableWidget* buttons_ = nullptr;
    QTimer* readTimer_ = nullptr;
    QTimer* chartTimer_ = nullptr;
    QTimer* figuresTimer_ = nullptr;
};

} // namespace orvane::signal

#endif
