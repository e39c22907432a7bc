// The Signal tab of the configuration dialog: the interface's own joystick reports, as they
// come, in a strip chart of the eight axes and a table of figures (rate, intervals,
// dropouts, repeats, per-axis and per-button figures), with Pause, Clear, Record to a CSV
// file and Save Picture.
//
// The reports come from the dialog's report port: every report a read returns reaches the
// tab, those read by the dialog's exchanges included. From the first time the tab is shown
// until the dialog closes, a thread of the tab's own reads the port while no exchange holds
// it (holdReading), so that each report is stamped as it arrives; the figures and the
// chart are taken from what it gathered on the window's thread.
#ifndef ORVANE_SIGNAL_SIGNAL_TAB_H
#define ORVANE_SIGNAL_SIGNAL_TAB_H

#include <QWidget>

#include <chrono>
#include <mutex>
#include <optional>

#include "report/port_reader.h"
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

inline constexpr std::chrono::milliseconds kChartTick{33};
inline constexpr std::chrono::milliseconds kFiguresTick{500};

// Who reads the port between the dialog's exchanges: the tab's own thread, or (tests with a
// scripted port and clock) whoever calls readQueued().
enum class Reading { OwnThread, ByCaller };

class SignalTab : public QWidget, public report::ReportListener {
    Q_OBJECT
public:
    explicit SignalTab(AppContext& context, QWidget* parent = nullptr,
                       Reading reading = Reading::OwnThread);
    ~SignalTab() override;

    // Texts in the context's language, the tab's title included.
    void updateLocalization();

    void reportArrived(std::span<const uint8_t> report, TimePoint arrival) override;

    // f(const SignalScope&) with the scope held still against the reading thread.
    template <class F> auto withScope(F&& f) const {
        const std::lock_guard lock(gathered_);
        return f(scope_);
    }
    Figures totals() const {
        return withScope([](const SignalScope& s) { return s.totals(); });
    }
    const StripChart& chart() const { return *chart_; }
    bool listening() const { return registration_.has_value(); }
    bool paused() const { return paused_; }
    bool recording() const;
    long recordedReports() const;

    // While held (the dialog's exchanges use the port), the tab's thread does not read; the
    // first hold waits for the read in flight. Holds nest.
    void holdReading();
    void releaseReading();

    // Handlers of the buttons.
    void Pause_Click();
    void Clear_Click();
    void Record_Click();
    void SavePicture_Click();

    // Reads what is queued, on the calling thread (Reading::ByCaller).
    void readQueued();
    // The timers' work: the chart as of now, the figures.
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
    const Reading reading_;
    // The scope and the recording are fed on the reading thread.
    mutable std::mutex gathered_;
    SignalScope scope_;
    std::optional<CsvRecording> recording_;
    std::optional<report::ListenerRegistration> registration_;
    std::optional<report::PortReader> reader_;
    int holds_ = 0;
    std::optional<report::PortReader::Pause> readerPause_;
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
    QTimer* chartTimer_ = nullptr;
    QTimer* figuresTimer_ = nullptr;
};

} // namespace orvane::signal

#endif
