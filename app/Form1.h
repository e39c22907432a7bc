// The main window: device list, opening of devices for the device windows, language
// buttons, update check and the program's start and end.
//
// Control names follow the window's resources; element i of a control array is named
// Name_i: OpenDev2_0, OpenDev_0, commandAktualisieren_1, Cancel_2.
#ifndef ORVANE_APP_FORM1_H
#define ORVANE_APP_FORM1_H

#include <QWidget>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/qt_translations.h"
#include "device/tavrel_report_port.h"
#include "report/clock.h"
#include "shell/app_context.h"
#include "shell/boot_loader_locator.h"
#include "shell/device_table.h"
#include "shell/event_log.h"
#include "shell/update_check.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace orvane {

class DeviceListView;
class DeviceMonitor;
class RuntimeFailure;
class SystemLocale;

struct Form1Services {
    TavrelApi& tavrel;
    UiServices& ui;
    const OsInfo& os;
    const SystemLocale& locale;
    UrlOpener& urlOpener;
    std::filesystem::path programFolder; // events.log goes here when it can be written
    std::filesystem::path stateFolder;   // else here
    EventLog::TimeStamp timeStamp;       // empty: the user's local date and time
    std::function<void()> endProgram;    // Close button; empty: leave the event loop
    // The joystick layer of the configuration dialog's monitor; none: the monitor stays empty.
    joystick::JoystickSource* joystick = nullptr;
    // Devices coming and going; none: the list changes only when refreshed.
    DeviceMonitor* deviceMonitor = nullptr;
    // Quiet time after the last device change before the list follows: one plugging
    // announces each HID interface of the device on its own.
    std::chrono::milliseconds deviceChangeDelay{250};
};

class Form1 : public QWidget, public BootLoaderLocator {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // Handlers, named after their controls.
    void Refresh_Click(int16_t index);
    int16_t GetDevices();
    std::string getProductID(int16_t slot);
    // The firmware dialog's search: refreshes the list and looks through its product ids.
    std::optional<int> findDevice(long productId) override;
    // SetValuesInFirmwareDlg: opens the slot's device (no refresh between the attempts).
    std::optional<DeviceValues> openDevice(int slot) override;
    void OpenDev2_Click(int16_t index);
    void Console_Command_Click();
    void OpenDev_Click(int16_t index);
    void commandAktualisieren_Click(int16_t index);
    void UpdatesCommand_Click();
    void Cancel_Click(int16_t index);
    void Help_Command_Click();
    void DeviceList_Click();
    void DeviceList_DblClick();
    void CommandDeutsch_Click();
    void commandEnglisch_Click();
    void updateLocalization(int offset);
    void Form_Terminate();

    // The event log and error report, for the other windows.
    EventLog& log() { return log_; }
    void logI(std::string_view message) { log_.logI(message); }
    void logW(std::string_view message) { log_.logW(message); }
    void logE(std::string_view message) { log_.logE(message); }
    void errorMsg(const RuntimeFailure& failure) { log_.errorMsg(failure); }

    AppContext& context() { return context_; }
    const Language& language() const { return language_; }
    int16_t deviceCount() const { return table_.deviceCount(); }
    // Firmware version of the last interface opened in the configuration dialog.
    const FirmwareVersion& firmwareVersion() const { return firmware_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    // 1-based index of the selected list entry; RuntimeFailure 91 without a selection.
    int selectedListIndex() const;
    // Opens the slot's device with the retries; refreshing between passes or not.
    // openError: why the last attempt failed, as the library tells (0 when it cannot).
    bool openSlot(int slot, bool refreshBetweenPasses, int* openError = nullptr);
    // Open and Console: the slot of the selected device once it is open; nothing when
    // there is no valid selection or the device does not open.
    std::optional<int> openSelectedDevice();
    // The seven values, the window's captions, then the window shown modal.
    template <class Window> bool showDeviceWindow(Window& window, int slot);
    void onFirmwareVersionRead(int major, int minor, int revision);
    // The program ends at once: no further handler runs, not even Form_Terminate.
    void endProgram();
    void connectClick(QPushButton* button, std::function<void()> handler);
    // A device came or went: the list is rebuilt as Refresh does, and the selected device
    // stays selected while it is listed. Waits while a device window is shown: a rebuild
    // probes devices through the library object that window uses.
    void followDeviceChange();
    // A device change while a device window was shown is followed once it closed.
    void deviceWindowClosed();

    Form1Services services_;
    Language language_;
    EventLog log_;
    TavrelReportPort port_;
    report::SteadyClock clock_;
    AppContext context_;
    DeviceTable table_;
    FirmwareVersion firmware_;
    std::string openFirstText_;
    bool ended_ = false;
    bool releaseEndsDoubleClick_ = false; // DeviceList: the next release ends a double click

    QLabel* Devices_;
    DeviceListView* DeviceList_;
    QPushButton* OpenDev2_;
    QPushButton* Console_Command_;
    QPushButton* OpenDev_;
    QPushButton* commandAktualisieren_;
    QPushButton* UpdatesCommand_;
    QPushButton* Cancel_;
    QPushButton* Help_Command_;
    QToolButton* CommandDeutsch_;
    QToolButton* commandEnglisch_;
    QLineEdit* VendorIDTextBox_;
    QLineEdit* ProductIDTextBox_;
    QtTranslations qtTranslations_;
    QTimer* deviceChangeTimer_;
    int deviceWindowsShown_ = 0;
    bool deviceChangePending_ = false;
};

} // namespace orvane

#endif
