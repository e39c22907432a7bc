#include "shell/permission_hint.h"

#include <cerrno>

#include "shell/localization.h"
#include "shell/udev_rule.h"

namespace orvane {

namespace {

// Single quotes keep the rule's double quotes and braces away from the shell.
std::string shellQuoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

} // namespace

bool isPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

std::string udevRuleCommand(std::string_view ruleText, std::string_view fileName) {
    std::string lines;
    while (!ruleText.empty()) {
        const auto end = ruleText.find('\n');
        std::string_view line = ruleText.substr(0, end);
        ruleText = end == std::string_view::npos ? std::string_view{} : ruleText.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        lines += ' ' + shellQuoted(line);
    }
    return "printf '%s\\n'" + lines + " | sudo tee /etc/udev/rules.d/" + std::string(fileName) +
           " >/dev/null && sudo udevadm control --reload && sudo udevadm trigger "
           "--subsystem-match=hidraw";
}

std::string permissionMessage(int languageOffset) {
    const std::string command = udevRuleCommand(kUdevRuleText, kUdevRuleFileName);
    if (languageOffset == kOffsetGerman)
        return "Das Gerät ist aufgeführt, aber Sie haben keine Berechtigung, es zu öffnen.\r\n"
               "Installieren Sie mit diesem Befehl in einem Terminal die udev-Regel, die Ihnen "
               "den Zugriff auf das R/C USB-Interface erlaubt, und versuchen Sie es dann erneut. "
               "Angemeldet am Bildschirm dieses Rechners haben Sie damit sofort Zugriff; bei "
               "einer Anmeldung ohne Sitzung am Rechner (über SSH, ein Kiosk) erhält ihn die "
               "Gruppe plugdev: nehmen Sie sich mit \"sudo usermod -aG plugdev $USER\" auf "
               "und melden Sie sich neu an.\r\n\r\n" +
               command;
    return "The device is listed, but you have no permission to open it.\r\n"
           "Install the udev rule that gives you access to the R/C USB interface with this "
           "command in a terminal, then try again. Logged in at this machine's screen you have "
           "access at once; for a login without a seat session (over SSH, a kiosk) the rule "
           "gives access to the group plugdev: add yourself with \"sudo usermod -aG plugdev "
           "$USER\" and log in again.\r\n\r\n" +
           command;
}

} // namespace orvane
