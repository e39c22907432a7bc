#include "shell/permission_hint.h"

#include <cerrno>

#include "resources/text_fill.h"
#include "resources/texts/shared_texts.h"
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
    return localizedText(text_id::kNoPermission, languageOffset, {command});
}

} // namespace orvane
