#include "shell/update_check.h"

#include <cctype>

#include "program_version.h"
#include "resources/text_fill.h"
#include "resources/texts/shared_texts.h"
#include "shell/device_table.h"
#include "shell/localization.h"
#include "shell/ui_services.h"

namespace orvane {

std::string queryEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string updateQueryAddress(std::string_view languageCode, const DeviceRow* selected,
                               const FirmwareVersion& firmware) {
    std::string address = std::string("https://") + kUpdateHost + "/cgi-bin/";
    address += "versioncheck.pl?lang=" + queryEncoded(languageCode);
    address += std::string("&verOrvane=") + kVersionText;
    if (selected) {
        address += "&VID=" + queryEncoded(selected->vendorId);
        address += "&PID=" + queryEncoded(selected->productId);
    }
    address += "&verUSB-Vexa=" + std::to_string(firmware.major) + "." +
               std::to_string(firmware.minor) + "." + std::to_string(firmware.revision);
    return address;
}

std::string noBrowserText(int languageOffset, std::string_view address) {
    return localizedText(text_id::kNoBrowser, languageOffset, {address});
}

void runUpdateCheck(const UpdateCheck& check, UiServices& ui, UrlOpener& opener,
                    WindowHandle parent) {
    if (check.firmware.major == 0 && check.firmware.minor == 0)
        ui.messageBox(parent, MessageBoxRequest{std::string(check.openFirstText),
                                                {},
                                                MessageIcon::Exclamation,
                                                MessageButtons::Ok});
    const std::string address =
        updateQueryAddress(check.languageCode, check.selected, check.firmware);
    bool opened = false;
    try {
        opened = opener.openUrl(address);
    } catch (const std::exception&) {
    }
    // Without a browser the user would see nothing at all.
    if (!opened)
        ui.messageBox(parent, MessageBoxRequest{noBrowserText(check.languageOffset, address),
                                                {},
                                                MessageIcon::Information,
                                                MessageButtons::Ok});
}

} // namespace orvane
