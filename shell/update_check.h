// The update check: a query address for the update server, handed to the desktop's URL
// handler, which shows the server's answer page.
#ifndef ORVANE_SHELL_UPDATE_CHECK_H
#define ORVANE_SHELL_UPDATE_CHECK_H

#include <optional>
#include <string>
#include <string_view>

#include "shell/ui_services.h"

namespace orvane {

struct DeviceRow;

inline constexpr const char* kUpdateHost = "update.orvane.org";

struct FirmwareVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// Hands an address to the desktop; false when it could not.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool openUrl(std::string_view url) = 0;
};

// Query text of a table text: anything but letters, digits and "-._~" percent-encoded, so
// the leading blank of a listed device's id travels as "%20".
std::string queryEncoded(std::string_view text);

// The address; selected == nullptr leaves the vendor and product part out.
std::string updateQueryAddress(std::string_view languageCode, const DeviceRow* selected,
                               const FirmwareVersion& firmware);

struct UpdateCheck {
    std::string_view languageCode;
    std::string_view openFirstText; // string 8 with the language offset
    const DeviceRow* selected = nullptr;
    FirmwareVersion firmware;
    int languageOffset = 1000; // language of the box shown when no browser opens
};

// The box shown when the desktop cannot open the address: the address on a line of its
// own, so that the user can copy it. CR LF line ends.
std::string noBrowserText(int languageOffset, std::string_view address);

// UpdatesCommand_Click: the hint when no firmware version was read, then the address to
// the desktop. When the desktop cannot open it, the address is shown in a box instead;
// nothing is logged.
void runUpdateCheck(const UpdateCheck& check, UiServices& ui, UrlOpener& opener,
                    WindowHandle parent = {});

} // namespace orvane

#endif
