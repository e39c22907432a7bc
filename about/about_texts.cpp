#include "about/about_texts.h"

#include <array>
#include <string_view>

#include "program_version.h"

namespace orvane {

namespace {

constexpr std::array<std::string_view, 25> kRevisionHistory{
    "Revision History:",
    "",
    "2.3.53  (7. 2026)",
    " - fixed runtime error in FW dialog if several devices connected",
    "",
    "2.3  (6. 2007)",
    " - added logging for error tracing",
    " - added axis monitoring via DirectX with better response time",
    " - added selection of transmitter signal type",
    " - added Auto-Search for Updates via Internet",
    "",
    "2.2  (2. 2007)",
    " - added R/C channel mixers for Inteface",
    " - added saving Orvane settings in files",
    "",
    "2.1  (12. 2006)",
    " - fixed overflow with large firmware files",
    "",
    "2.0  (7. 2006)",
    " - added booloader for USB-Vexa 3",
    " - added HID Console",
    " - added joystick axis and button monitor",
    "",
    "1.0  (7. 2005)",
    " - initial release",
};

} // namespace

std::string aboutCaption() {
    return std::string("About ") + kProgramTitle;
}

std::string aboutTitleText() {
    return std::string(kProgramTitle) + "\r\nR/C USB-Interface Configuration Tool";
}

std::string aboutVersionText() {
    return std::string("Version ") + kVersionText;
}

std::string aboutDescriptionText() {
    return "Copyright (C) The Orvane developers\r\nhttps://orvane.org";
}

std::string revisionHistoryText() {
    std::string text;
    for (size_t i = 0; i < kRevisionHistory.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += kRevisionHistory[i];
    }
    return text;
}

} // namespace orvane
