// Firmware dialog: waits for the boot loader, greets it, and erases, programs and verifies
// the interface's application area from a firmware file. The window stays painted while an
// operation runs; its buttons, its other handlers and closing it wait for the operation.
#ifndef ORVANE_FIRMWARE_DIALOG_H
#define ORVANE_FIRMWARE_DIALOG_H

#include <QDialog>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "firmware/core/boot_loader.h"
#include "firmware/core/boot_loader_link.h"
#include "firmware/core/link_random.h"
#include "firmware/core/memory_image.h"
#include "report/clock.h"
#include "shell/app_context.h"

class QCloseEvent;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace orvane {

class BootLoaderLocator;
namespace firmware {
class FileCipher;
}

class Dialog : public QDialog, private firmware::UpdateView {
    Q_OBJECT
public:
    Dialog(AppContext& context, BootLoaderLocator& locator, QWidget* parent = nullptr);
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

    // Boot-loader detection: finds product id 25611 in the main window's list, has it
    // opened, probes it and greets it.
    void Timer1_Timer();
    void erase_Command_Click();
    void program_Command_Click();
    void verify_Command_Click();
    void led_Command_Click();
    void reset_Command_Click();
    void CancelButton_Click();

    // The link with its report texts and chains, as the last exchange left them.
    const firmware::BootLoaderLink& link() const { return link_; }
    // The random bytes of probe and start come from a generator seeded once; tests fix it.
    void setRandomSeed(std::uint32_t seed) { random_ = firmware::LinkRandom(seed); }
    bool operationRunning() const { return busy_; }
    // What the flash may hold after an operation that did not complete, until one does.
    firmware::FlashState flashState() const { return flashState_; }

    // Closing while an operation runs waits for its end.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // UpdateView: the console and the progress bar; the window repaints as they move.
    void replaceConsole(std::string_view text) override;
    void appendConsole(std::string_view text) override;
    void setProgressMaximum(int maximum) override;
    void setProgress(int value) override;
    void keepAlive();

    // Runs Erase, Program or Verify with every button and closing held back; a failed
    // exchange sends the dialog back to detection, which re-probes and resets the chains.
    // Until an operation completes, the console tells what the flash may hold.
    template <class Run> void runOperation(firmware::Operation operation, Run&& run);
    void operationStopped(const std::string& operation,
                          const firmware::StepFailure& failure) override;
    // The kept failure and what the flash may hold, as lines for the console.
    std::string flashNotice() const;
    std::string flashStateText() const;
    // The link is out of step: say so, and search for the boot loader again.
    void searchAgain();
    bool confirmUpdate(const std::string& title);
    void setImageButtonsEnabled();
    void connectUpdateButtons();
    void openFirmwareFile();
    void encipherFile(const std::string& name);
    void loadImage(const std::string& name, std::string_view content);
    // A file that is not loaded: the reason goes to the console, the log and a message box;
    // the memory image and the buttons stay as they were.
    void refuse(const std::string& reason);

    AppContext& context_;
    BootLoaderLocator& locator_;
    DeviceValues values_;
    QPlainTextEdit* Console_;
    QProgressBar* BL_ProgressBar_;
    // The operation buttons, by their place in operationButtons_.
    static constexpr std::size_t kOpenButton = 0;
    static constexpr std::size_t kProgramButton = 1;
    static constexpr std::size_t kEraseButton = 2;
    static constexpr std::size_t kVerifyButton = 3;
    static constexpr std::size_t kResetButton = 4;
    static constexpr std::size_t kLedButton = 5;
    std::array<QPushButton*, 6> operationButtons_{};
    QPushButton* CancelButton_;
    QTimer* Timer1_;
    firmware::MemoryImage memoryImage_;
    std::unique_ptr<firmware::FileCipher> cipher_;
    std::string fileKey1_;
    firmware::BootLoaderLink link_;
    firmware::BootLoader bootLoader_;
    firmware::LinkRandom random_;
    // Why the last operation stopped, kept across the new detection, and the text id of
    // what the flash may hold (0 when the last operation completed).
    std::string keptFailure_;
    firmware::FlashState flashState_ = firmware::FlashState::AsIntended;
    bool busy_ = false;
    bool closeRequested_ = false;
    report::Clock::time_point lastPaint_{};
};

} // namespace orvane

#endif
