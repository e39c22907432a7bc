// HID console: the user types an output report as a report id and hexadecimal data bytes,
// sends it, and sees the input reports that come back in the read fields and in a running
// console text. Preset buttons send fixed boot-loader and memory commands; ten buttons can
// be loaded with typed reports for replay. The logic lives in console/core.
#ifndef ORVANE_CONSOLE_DIALOG1_H
#define ORVANE_CONSOLE_DIALOG1_H

#include <QDialog>
#include <QString>

#include <array>

#include "shell/app_context.h"

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class Dialog1 : public QDialog {
    Q_OBJECT
public:
    explicit Dialog1(AppContext& context, QWidget* parent = nullptr);

    // The seven values of the opened device, set by the main window before showing.
    void setDeviceValues(const DeviceValues& values);
    const DeviceValues& deviceValues() const { return values_; }
    void updateLocalization();

    // Runs once, when the window is first shown: fields, device identity, the console's own
    // opening of the device.
    void Form_Load();
    void Send_Click();
    void CancelButton_Click();
    void Command4_Click();
    void Assign_Command_Click(int index);
    void Custom_Command_Click(int index);
    // A preset button CommandN.
    void preset_Click(int button);

    // The console and status texts with their CR LF line ends.
    const QString& consoleText() const { return logText_; }
    const QString& statusText() const { return statusText_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildLayout();
    void appendConsole(const QString& text);
    void setStatusText(const QString& text);
    // The console's own handles are closed once, however the window goes.
    void closeDevice();

    AppContext& context_;
    DeviceValues values_;
    bool loaded_ = false;
    bool deviceClosed_ = false;
    QString logText_;
    QString statusText_;

    QLineEdit* VendID_ = nullptr;
    QLineEdit* ProdID_ = nullptr;
    QLineEdit* DevName_ = nullptr;
    QLineEdit* SerNum_ = nullptr;
    QLineEdit* InRptLen_ = nullptr;
    QLineEdit* OutRptLen_ = nullptr;
    QLineEdit* OutputReportID_ = nullptr;
    QLineEdit* WriteBuffer_ = nullptr;
    QLineEdit* ReadAttempts_Box_ = nullptr;
    QLineEdit* InputReportID_ = nullptr;
    QLineEdit* ReadBuffer_ = nullptr;
    QPlainTextEdit* Status_ = nullptr;
    QPlainTextEdit* logBox_ = nullptr;
    QPushButton* Send_ = nullptr;
    QPushButton* CancelButton_ = nullptr;
    QPushButton* Command4_ = nullptr;
    std::array<QPushButton*, 10> Custom_Command_{};
    std::array<QPushButton*, 10> Assign_Command_{};
    QGroupBox* deviceFrame_ = nullptr;
    QGroupBox* writeFrame_ = nullptr;
    QGroupBox* readFrame_ = nullptr;
    QGroupBox* customFrame_ = nullptr;
};

} // namespace orvane

#endif
