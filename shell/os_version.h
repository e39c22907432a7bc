// Operating-system version record and its display name. Windows fills the record from
// GetVersionExA; on Linux the record says "other platform" and the name of the running
// system comes from the system itself.
#ifndef ORVANE_SHELL_OS_VERSION_H
#define ORVANE_SHELL_OS_VERSION_H

#include <string>

namespace orvane {

struct OsVersionRecord {
    int platformId = 0; // 1 Windows 95 family, 2 NT family, anything else: other
    int majorVersion = 0;
    int minorVersion = 0;
    int buildNumber = 0;
    std::string servicePack;
};

// Display name of a Windows version record; empty when no rule applies.
std::string windowsVersionName(const OsVersionRecord& record);
// True for the Windows 95 family with minor 0, 10, 90 and the NT family 3, 4 and 5.
bool isLegacyWindows(const OsVersionRecord& record);

class OsInfo {
public:
    virtual ~OsInfo() = default;
    virtual OsVersionRecord versionRecord() const = 0;
    // Name of the running system as the boot-loader warning shows it.
    virtual std::string versionName() const = 0;
    virtual bool isLegacyWindows() const = 0;
};

} // namespace orvane

#endif
