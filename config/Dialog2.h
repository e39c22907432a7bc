// Configuration dialog: the editor of an interface's configuration (axis and button
// assignment, trigger levels, mixers, decoding mode), settings files, and the diagnostic
// panel through which the configuration commands travel.
//
// The configuration lives in one record (config/core/configuration.h); the controls show it
// and every edit of a control is written into it at once. The accessors below are the one
// way in and out for the command answers, the transfers and the settings files.
//
// Commands and sequences run inside their handler on the user-interface thread. While one
// runs, the window keeps painting (events other than user input are processed between
// exchanges); sequenceRunning() is then true, and the timers and closing wait for its end.
#ifndef ORVANE_CONFIG_DIALOG2_H
#define ORVANE_CONFIG_DIALOG2_H

#include <QDialog>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/core/command_table.h"
#include "config/core/configuration_snapshot.h"
#include "config/core/interface_match.h"
#include "config/core/mixer_tables.h"
#include "config/core/sequence_outcome.h"
#include "config/core/transfer_sequences.h"
#include "shell/app_context.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace orvane {

class AxisBox;
class JoystickMonitor;
namespace signal {
class SignalTab;
}

// The sliders of the mixer panel, in the order showCurrentMixer sets them.
enum class MixerSlider { Source, Destination, Neutral, Factor, FactorQ, Exponent, ExponentQ };

class Dialog2 : public QDialog {
    Q_OBJECT
public:
    explicit Dialog2(AppContext& context, QWidget* parent = nullptr);

    // The seven values of the opened device, set by the main window before showing.
    void setDeviceValues(const DeviceValues& values);
    void updateLocalization();

    // Firmware version of the last version answer; 0 until one was read.
    int fwMajor() const { return fwMajor_; }
    int fwMinor() const { return fwMinor_; }
    int fwRevision() const { return fwRevision_; }

    // Loading of the window; runs from the first show.
    void Form_Load();

    // A command or a sequence of commands is running: handlers that would interleave with
    // it (timers, closing) wait until it ends.
    bool sequenceRunning() const { return busyDepth_ > 0; }

    // The whole configuration as the dialog holds it.
    const config::Configuration& configuration() const { return config_; }

    // Configuration items, index 0..7. Setting one sets its control; a value outside the
    // control's range is clamped by the control, an index outside 0..7 is ignored.
    int axisChannel(int axis) const;
    void setAxisChannel(int axis, int channel);
    bool axisInvert(int axis) const;
    void setAxisInvert(int axis, bool on);
    int buttonChannel(int button) const;
    void setButtonChannel(int button, int channel);
    int buttonThreshold(int button) const;
    void setButtonThreshold(int button, int level);
    bool buttonInvert(int button) const;
    void setButtonInvert(int button, bool on);
    bool buttonActive(int button) const;
    void setButtonActive(int button, bool on);
    bool bootloaderEnable() const;

    // 0 PPM, 1 PCM. Selecting an option button sets the other off and decodingMode to its
    // index; both buttons can be off, which leaves decodingMode as it was.
    int decodingMode() const { return config_.decodingMode; }
    void selectDecodingOption(int index);
    bool decodingOptionSelected(int index) const;

    // The six mixer tables. Writing them does not refresh the panel: call showCurrentMixer.
    config::MixerTables& mixers() { return config_.mixers; }
    const config::MixerTables& mixers() const { return config_.mixers; }
    int currentMixer() const { return currentMixer_; }

    const std::string& annotations() const { return annotations_; }
    bool filterJoy() const { return filterJoy_; }

    // Command log and status field of the diagnostic panel. The texts keep their CR LF line
    // ends; the fields show them as plain lines.
    QString logText() const { return logText_; }
    void appendLog(const QString& text);
    QString statusText() const { return statusText_; }
    void setStatusText(const QString& text);
    // What the last Load, Transmit or Store came to, as the Configuration tab shows it.
    QString sequenceOutcomeText() const;
    // The controls hold what the interface holds (the last complete Load or Transmit and
    // every edit since); the title is marked with a leading "*" when they do not.
    bool holdsInterfaceConfiguration() const { return match_.holdsInterfaceConfiguration(config_); }

    // Every item a settings file holds, from the controls and back into them.
    config::ConfigurationSnapshot snapshot() const;
    void applySnapshot(const config::ConfigurationSnapshot& items);

    // Sets the panel from the record currentMixer. An entry that a slider cannot show is
    // shown clamped and stays stored as it is until the user moves that slider or types
    // into its box; its text box shows the stored value.
    void showCurrentMixer();
    void enableMixerControls(bool enable);
    void enableDecodingModeControls(bool enable);

    // Event handlers.
    void bStickMode1_Click() { applyStickMode(1); }
    void bStickMode2_Click() { applyStickMode(2); }
    void bStickMode3_Click() { applyStickMode(3); }
    void bStickMode4_Click() { applyStickMode(4); }
    void bRFG2_Click();
    void Command17_Click();
    void Command18_Click();
    void Command16_Click();
    void Command7_Click();
    void Option1_Click(int index);
    void Bootloader_Checkbox_Click();
    void Text1_Change(int index);
    void Command25_Click();
    void Command26_Click();
    void Command2_Click();
    void Command9_Click();
    void CancelButton_Click();
    void TimerJoy_Timer();
    void updateJoystickMonitor();

    // The live joystick monitor; configuration transfers pause it while they run.
    JoystickMonitor& joystickMonitor() { return *joystickMonitor_; }

    // The configuration protocol: Send_Click sends the request in the panel's fields.
    void Send_Click();
    void TimerStartupRead_Timer();
    void Command6_Click();  // Load from Interface
    void Command14_Click(); // Transmit to Interface
    void Command1_Click();  // Store in Interface and Exit
    // One of the one-command buttons (Command11, Command13, ...), by its name.
    void oneCommand_Click(std::string_view name);

signals:
    // Emitted by a version answer, so the main window can show major and minor.
    void firmwareVersionRead(int major, int minor, int revision);
    // The joystick layer could not be prepared: the whole program ends.
    void programEndRequested();

public slots:
    // Closing without storing asks first when the last Transmit did not fully happen or when
    // edits would be lost. Asked for while a sequence runs, it waits for the sequence's end
    // and then asks with its outcome in view.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Every way of closing passes here: Form_Unload runs once.
    void done(int result) override;
    // An Escape that waited for a sequence to end asks before it closes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    // The natural size of pages and buttons, as far as the screen allows.
    void resizeToFitScreen(QSize pages, QSize actions, const QLayout& main);
    QWidget* buildAxisFrame();
    QWidget* buildButtonFrame();
    QWidget* buildMixerFrame();
    QWidget* buildDecodingFrame();
    QWidget* buildPresetFrame();
    QWidget* buildDebugPanel();
    QWidget* buildActionRow();
    void connectEditor();
    void connectMixerPanel();
    void connectJoystickMonitor();
    void startJoystickMonitor();
    void connectProtocol();

    // Keeps a command or sequence marked as running; a close asked for meanwhile happens
    // when the outermost one ends.
    class SequenceGuard {
    public:
        explicit SequenceGuard(Dialog2& dialog);
        ~SequenceGuard();
        SequenceGuard(const SequenceGuard&) = delete;
        SequenceGuard& operator=(const SequenceGuard&) = delete;

    private:
        Dialog2& dialog_;
    };
    // Sends one request the one-command way: "F9" and the request text into the panel,
    // then Send_Click; says how the exchange went.
    config::StepOutcome sendRequest(std::string_view requestText);
    // Send_Click's work, with how the exchange went.
    config::StepOutcome sendPanelRequest();
    config::SequenceTally runSteps(config::SequenceKind kind,
                                   const std::vector<config::SequenceStep>& steps);
    // Transmit to Interface without its question; what it came to.
    config::SequenceTally transmit();
    // Commands for what the firmware does not have are counted apart once its version is known.
    void countUnsupported(config::SequenceTally& tally) const;
    // Marks the title when the controls do not hold the interface's configuration.
    void refreshInterfaceMark();
    // Asks what closing needs asked; true when the window may close.
    bool mayClose();
    // A close asked for while a sequence ran, once its outcome is on show.
    void closeAfterSequence();
    // The end of a sequence on the Configuration tab, and in the status when it failed.
    void showSequenceOutcome(const config::SequenceTally& tally,
                             std::span<const std::string> notTaken = {});
    // A Yes/No question; true when the user answers Yes.
    bool confirm(const std::string& question);
    void setProgress(double fraction);
    // Lets the window repaint between exchanges without running user input.
    void keepPainted();
    // The record after an answer: the controls show it, the version answer updates the
    // title and unlocks the controls the firmware has.
    void showAnswer(const config::Configuration& record, const config::AnswerEffect& effect);
    void showVersion(const config::FirmwareVersion& version);

    void Form_Unload();
    void applyStickMode(int mode); // 1..4
    // Device session of the window: the start-up read is started when the window loads;
    // the opened device is closed in releaseDevice, whichever way the window closes.
    void startDeviceSession();
    void releaseDevice();

    QSlider* mixerSlider(MixerSlider which) const;
    // Runs a mixer slider's update: its text box shows the value and, unless the stored
    // entry is being kept, the record currentMixer takes it.
    void mixerSliderUpdate(MixerSlider which);
    void onMixerSliderMoved(MixerSlider which);
    void setTextQuietly(int index, const QString& text);
    void Slider8_Change();

    AppContext& context_;
    DeviceValues values_;
    int fwMajor_ = 0;
    int fwMinor_ = 0;
    int fwRevision_ = 0;
    bool filterJoy_ = false;
    int currentMixer_ = 0;
    std::string annotations_;
    QString logText_;
    QString statusText_;
    config::Configuration config_;
    int busyDepth_ = 0;
    std::optional<int> closePending_; // result of a close asked for while busy
    bool rejectPending_ = false;      // Cancel, Escape or the close button while busy
    // A sequence has just ended: input that waited for it must not close the window unseen.
    bool outcomeUnseen_ = false;
    // The shown configuration against the interface's and the files'.
    config::InterfaceMatch match_;
    // The configuration was read in full from the interface or loaded from a file; until
    // then the controls may show the dialog's defaults, and Transmit asks first.
    bool configurationKnown_ = false;
    // The last Transmit did not fully happen: the interface runs a mix of old and new
    // values until it is reconnected.
    std::optional<config::SequenceTally> failedTransmit_;
    // Per panel slider: the stored entry is not what the slider shows, so it is not written.
    std::array<bool, 7> keepStored_{};
    bool loaded_ = false;
    bool unloaded_ = false;

    std::array<QSlider*, 8> slider1_{};
    std::array<QSlider*, 8> slider2_{};
    std::array<QSlider*, 8> slider3_{};
    std::array<QCheckBox*, 8> check1_{};
    std::array<QCheckBox*, 8> check2_{};
    std::array<QCheckBox*, 8> check3_{};
    std::array<AxisBox*, 8> axisBox_{};
    std::array<QLabel*, 8> label31_{};
    std::array<QCheckBox*, 8> buttonCheck_{};
    std::array<QSlider*, 2> slider4_{};
    QSlider* slider5_ = nullptr;
    QSlider* slider6_ = nullptr;
    QSlider* slider7_ = nullptr;
    QSlider* slider8_ = nullptr;
    QSlider* slider9_ = nullptr;
    QSlider* slider10_ = nullptr;
    std::array<QLineEdit*, 5> text1_{};
    std::array<QRadioButton*, 2> option1_{};
    QCheckBox* bootloaderCheckbox_ = nullptr;
    QGroupBox* frame8_ = nullptr;
    QPushButton* command7_ = nullptr;
    QPushButton* command6_ = nullptr;
    QPushButton* command14_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;
    QLabel* sequenceOutcome_ = nullptr; // on the Configuration tab
    QTimer* timerStartupRead_ = nullptr;
    QTimer* timerJoy_ = nullptr;
    QListWidget* lstListe_ = nullptr;
    JoystickMonitor* joystickMonitor_ = nullptr;
    signal::SignalTab* signalTab_ = nullptr;

    QLineEdit* outputReportId_ = nullptr; // OutputReportID(0)
    QLineEdit* writeBuffer_ = nullptr;    // WriteBuffer(1)
    QLineEdit* inputReportId_ = nullptr;  // InputReportID(1)
    QLineEdit* readBuffer_ = nullptr;     // ReadBuffer(0)
    QPlainTextEdit* status_ = nullptr;
    QPlainTextEdit* logBox_ = nullptr;
    QLineEdit* prodId_ = nullptr;
    QLineEdit* vendId_ = nullptr;
    QLineEdit* devName_ = nullptr;
    QLineEdit* serNum_ = nullptr;
    QLineEdit* inRptLen_ = nullptr;
    QLineEdit* outRptLen_ = nullptr;
};

} // namespace orvane

#endif
