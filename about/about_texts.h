// Fixed texts of the about box; they do not follow the language choice.
#ifndef ORVANE_ABOUT_ABOUT_TEXTS_H
#define ORVANE_ABOUT_ABOUT_TEXTS_H

#include <string>

namespace orvane {

std::string aboutCaption();     // "About Orvane"
std::string aboutTitleText();   // title, CR LF, what the program is
std::string aboutVersionText(); // "Version 2.3.55"
std::string aboutDescriptionText();
// Revision history, lines separated by CR LF, none after the last.
std::string revisionHistoryText();

inline constexpr const char* kSysInfoUnavailable =
    "Systeminformationen sind momentan nicht verf\xc3\xbc"
    "gbar";

} // namespace orvane

#endif
