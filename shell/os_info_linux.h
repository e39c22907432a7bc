// The running system's name on Linux: PRETTY_NAME of os-release, else uname's system name
// and release. Its version record is of no Windows platform.
#ifndef ORVANE_SHELL_OS_INFO_LINUX_H
#define ORVANE_SHELL_OS_INFO_LINUX_H

#include <filesystem>
#include <string>
#include <vector>

#include "shell/os_version.h"

namespace orvane {

// Platform id of a version record that is not Windows.
inline constexpr int kOtherPlatformId = -1;

class LinuxOsInfo : public OsInfo {
public:
    // Files tried in order for PRETTY_NAME.
    explicit LinuxOsInfo(std::vector<std::filesystem::path> osReleaseFiles = {
                             "/etc/os-release", "/usr/lib/os-release"});
    OsVersionRecord versionRecord() const override { return record_; }
    std::string versionName() const override { return name_; }
    bool isLegacyWindows() const override { return false; }

private:
    OsVersionRecord record_;
    std::string name_;
};

// Value of PRETTY_NAME in os-release text (quotes and escapes removed); empty if absent.
std::string osReleasePrettyName(std::string_view osReleaseText);

} // namespace orvane

#endif
