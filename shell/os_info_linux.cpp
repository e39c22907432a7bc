#include "shell/os_info_linux.h"

#include <sys/utsname.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace orvane {

namespace {

std::string unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        const char quote = value.front();
        value = value.substr(1, value.size() - 2);
        std::string out;
        for (size_t i = 0; i < value.size(); ++i) {
            if (quote == '"' && value[i] == '\\' && i + 1 < value.size()) ++i;
            out += value[i];
        }
        return out;
    }
    return std::string(value);
}

} // namespace

std::string osReleasePrettyName(std::string_view text) {
    constexpr std::string_view kKey = "PRETTY_NAME=";
    while (!text.empty()) {
        size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.starts_with(kKey)) return unquoted(line.substr(kKey.size()));
        if (eol == std::string_view::npos) break;
        text.remove_prefix(eol + 1);
    }
    return {};
}

LinuxOsInfo::LinuxOsInfo(std::vector<std::filesystem::path> osReleaseFiles) {
    record_.platformId = kOtherPlatformId;
    utsname uts{};
    const bool haveUname = uname(&uts) == 0;
    if (haveUname) {
        int major = 0;
        int minor = 0;
        if (std::sscanf(uts.release, "%d.%d", &major, &minor) >= 1) {
            record_.majorVersion = major;
            record_.minorVersion = minor;
        }
    }
    for (const auto& file : osReleaseFiles) {
        std::ifstream in(file);
        if (!in) continue;
        std::ostringstream text;
        text << in.rdbuf();
        name_ = osReleasePrettyName(text.str());
        if (!name_.empty()) return;
    }
    if (haveUname) name_ = std::string(uts.sysname) + " " + uts.release;
}

} // namespace orvane
