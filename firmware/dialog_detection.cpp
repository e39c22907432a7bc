// The firmware dialog's search for the boot loader and its greeting.
#include <QPushButton>
#include <QTimer>

#include <cctype>
#include <charconv>

#include "app/core/event_log.h"
#include "app/core/firmware_host.h"
#include "app/core/localization.h"
#include "app/core/trap.h"
#include "firmware/Dialog.h"

namespace orvane {

namespace {

constexpr std::size_t kOpenButton = 0;
constexpr std::size_t kResetButton = 4;
constexpr std::size_t kLedButton = 5;
constexpr std::uint8_t kStartCommand = 0xFE;

// The numeric value of a product id text: leading blanks skipped, digits read; 0 otherwise.
long productIdValue(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    long value = 0;
    std::from_chars(text.data() + i, text.data() + text.size(), value);
    return value;
}

} // namespace

void Dialog::Timer1_Timer() {
    const Trap trap(context_.log);
    int16_t count = 0;
    trap([&] {
        host_.Refresh_Click(0);
        count = host_.GetDevices();
    });
    int16_t found = -1;
    trap([&] {
        for (int16_t i = 0; i < count && found < 0; ++i)
            if (productIdValue(host_.getProductID(i)) == firmware::kBootLoaderProductId) found = i;
    });
    if (found < 0) return; // the next tick searches again

    Timer1_->stop();
    // A device that could not be opened leaves both lengths at 0.
    values_ = DeviceValues{};
    int16_t index = static_cast<int16_t>(found + 1);
    trap([&] { host_.SetValuesInFirmwareDlg(index); });
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
    replaceConsole("Bootloader ver " + probe.major + "." + probe.minor + " " +
                   localized(19, context_.language.offset) + "\r\n");
    operationButtons_[kOpenButton]->setEnabled(true);
    operationButtons_[kResetButton]->setEnabled(true);
    operationButtons_[kLedButton]->setEnabled(true);
    // A file loaded before the link was lost can be written again at once.
    setImageButtonsEnabled();

    firmware::SendResult start;
    const bool sent = trap([&] { start = bootLoader_.start(random_); });
    if (!sent || !start.answered() || start.answer[1] != kStartCommand) searchAgain();
}

} // namespace orvane
