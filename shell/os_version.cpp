#include "shell/os_version.h"

namespace orvane {

std::string windowsVersionName(const OsVersionRecord& r) {
    if (r.platformId == 1) {
        switch (r.minorVersion) {
        case 0:
            return "Windows 95";
        case 10:
            return "Windows 98";
        case 90:
            return "Windows Millennium";
        default:
            return {};
        }
    }
    if (r.platformId == 2) {
        switch (r.majorVersion) {
        case 3:
            return "Windows NT 3.51";
        case 4:
            return "Windows NT 4.0";
        case 5:
            return r.minorVersion != 0 ? "Windows XP" : "Windows 2000";
        case 6:
            return "Windows Vista";
        default:
            return "Windows " + std::to_string(r.majorVersion);
        }
    }
    return "Windows Platform " + std::to_string(r.platformId) + ", v. " +
           std::to_string(r.majorVersion);
}

bool isLegacyWindows(const OsVersionRecord& r) {
    if (r.platformId == 1)
        return r.minorVersion == 0 || r.minorVersion == 10 || r.minorVersion == 90;
    if (r.platformId == 2) return r.majorVersion == 3 || r.majorVersion == 4 || r.majorVersion == 5;
    return false;
}

} // namespace orvane
