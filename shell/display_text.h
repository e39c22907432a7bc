// The program keeps texts with Windows line ends (CR LF), as its files and messages have
// them; Qt's widgets show plain newlines.
#ifndef ORVANE_SHELL_DISPLAY_TEXT_H
#define ORVANE_SHELL_DISPLAY_TEXT_H

#include <QString>

#include <string_view>

namespace orvane {

inline QString displayText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline QString displayText(std::string_view utf8) {
    return displayText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

} // namespace orvane

#endif
