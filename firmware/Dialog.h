// Firmware dialog: waits for the boot loader and updates the interface's firmware. This
// window so far has its controls, captions and the detection timer; the detection and the
// update sequence are still to come.
#ifndef ORVANE_FIRMWARE_DIALOG_H
#define ORVANE_FIRMWARE_DIALOG_H

#include <QDialog>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/core/app_context.h"
#include "firmware/core/memory_image.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace orvane {

class FirmwareHost;
namespace firmware {
class FileCipher;
}

class Dialog : public QDialog {
    Q_OBJECT
public:
    Dialog(AppContext& context, FirmwareHost& host, QWidget* parent = nullptr);
    ~Dialog() override;

    // The seven values of the boot loader, set by the main window once it has opened it.
    void setDeviceValues(const DeviceValues& values);
    const DeviceValues& deviceValues() const { return values_; }
    void updateLocalization();

    // Boot-loader detection, every 250 ms while enabled.
    QTimer& Timer1() { return *Timer1_; }
    void setButtonsEnabled(bool enabled);

    // Open button: loads a plain or enciphered firmware file into the memory image, or
    // enciphers a file whose name contains "encrypt.me".
    void open_Command_Click();
    // What Program and Verify write and compare; replaced only by a file that loaded whole.
    const firmware::MemoryImage& memoryImage() const { return memoryImage_; }

private:
    void Timer1_Timer();
    void CancelButton_Click();
    void openFirmwareFile();
    void encipherFile(const std::string& name);
    void loadImage(const std::string& name, std::string_view content);
    void appendConsole(std::string_view text);
    // A file that is not loaded: the reason goes to the console, the log and a message box;
    // the memory image and the buttons stay as they were.
    void refuse(const std::string& reason);

    AppContext& context_;
    FirmwareHost& host_;
    DeviceValues values_;
    QPlainTextEdit* Console_;
    QProgressBar* BL_ProgressBar_;
    // open, program, erase, verify, reset, led: the operation buttons.
    std::array<QPushButton*, 6> operationButtons_{};
    QPushButton* CancelButton_;
    QTimer* Timer1_;
    firmware::MemoryImage memoryImage_;
    std::unique_ptr<firmware::FileCipher> cipher_;
    std::string fileKey1_;
};

} // namespace orvane

#endif
