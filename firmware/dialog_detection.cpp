// The firmware dialog's search for the boot loader and its greeting.
#include <QPushButton>
#include <QTimer>

#include "device/known_devices.h"
#include "firmware/Dialog.h"
#include "resources/string_ids.h"
#include "shell/boot_loader_locator.h"
#include "shell/event_log.h"
#include "shell/localization.h"
#include "shell/trap.h"

namespace orvane {

void Dialog::Timer1_Timer() {
    const Trap trap(context_.log);
    std::optional<int> found;
    trap([&] { found = locator_.findDevice(kBootLoaderProductId); });
    if (!found) return; // the next tick searches again

    Timer1_->stop();
    // A device that could not be opened leaves both lengths at 0.
    values_ = DeviceValues{};
    std::optional<DeviceValues> opened;
    trap([&] { opened = locator_.openDevice(*found); });
    if (opened) setDeviceValues(*opened);
    link_.InputReportLen = values_.inputReportLen;
    link_.OutputReportLen = values_.outputReportLen;

    firmware::ProbeResult probe;
    if (!trap([&] { probe = bootLoader_.probe(random_); })) probe = {};
    setWindowTitle(QStringLiteral("Bootloader online"));
    if (!probe.valid) {
        appendConsole("Bootloader wurde gefunden, aber keine g\u00fcltige Antwort gelesen.\r\n"
                      "InputReportLen=" +
                      std::to_string(link_.InputReportLen) +
                      ", OutputReportLen=" + std::to_string(link_.OutputReportLen) +
                      "\r\nReadBuffer='" + link_.ReadBuffer + "'\r\n");
        Timer1_->start();
        return;
    }
    // A failed operation stays told, with what the flash may hold, until one completes.
    replaceConsole("Bootloader ver " + probe.major + "." + probe.minor + " " +
                   localized(text_id::kFound, context_.language.offset) + "\r\n" + flashNotice());
    operationButtons_[kOpenButton]->setEnabled(true);
    operationButtons_[kResetButton]->setEnabled(true);
    operationButtons_[kLedButton]->setEnabled(true);
    // A file loaded before the link was lost can be written again at once.
    setImageButtonsEnabled();

    // The start answer is read but not examined: only a failed exchange sends us back.
    firmware::SendResult start;
    const bool sent = trap([&] { start = bootLoader_.start(random_); });
    if (!sent || !start.answered()) searchAgain();
}

} // namespace orvane
