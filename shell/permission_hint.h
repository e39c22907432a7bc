// The message for a device that is listed but may not be opened: on Linux the hidraw node
// belongs to root until the udev rule gives the logged-in user access to it.
#ifndef ORVANE_SHELL_PERMISSION_HINT_H
#define ORVANE_SHELL_PERMISSION_HINT_H

#include <string>
#include <string_view>

namespace orvane {

// True for the error numbers of a refused permission (EACCES, EPERM).
bool isPermissionError(int error);

// One shell command that writes the rule to /etc/udev/rules.d and makes udev apply it to
// the devices already plugged in. ruleText: the rule file; comments and blank lines are
// left out.
std::string udevRuleCommand(std::string_view ruleText, std::string_view fileName);

// The message in the language of the offset (0 German, 1000 English), CR LF line ends,
// ending with the command for the installed rule.
std::string permissionMessage(int languageOffset);

} // namespace orvane

#endif
