// Firmware dialog: waits for the boot loader and updates the interface's firmware. This
// window so far has its controls, captions and the detection timer; the detection and the
// update sequence are still to come.
#ifndef ORVANE_FIRMWARE_DIALOG_H
#define ORVANE_FIRMWARE_DIALOG_H

#include <QDialog>

#include <array>

#include "app/core/app_context.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace orvane {

class FirmwareHost;

class Dialog : public QDialog {
    Q_OBJECT
public:
    Dialog(AppContext& context, FirmwareHost& host, QWidget* parent = nullptr);

    // The seven values of the boot loader, set by the main window once it has opened it.
    void setDeviceValues(const DeviceValues& values);
    const DeviceValues& deviceValues() const { return values_; }
    void updateLocalization();

    // Boot-loader detection, every 250 ms while enabled.
    QTimer& Timer1() { return *Timer1_; }
    void setButtonsEnabled(bool enabled);

private:
    void Timer1_Timer();
    void CancelButton_Click();

    AppContext& context_;
    FirmwareHost& host_;
    DeviceValues values_;
    QPlainTextEdit* Console_;
    QProgressBar* BL_ProgressBar_;
    // open, program, erase, verify, reset, led: the operation buttons.
    std::array<QPushButton*, 6> operationButtons_{};
    QPushButton* CancelButton_;
    QTimer* Timer1_;
};

} // namespace orvane

#endif
