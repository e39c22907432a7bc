#include "cli/config_read_json.h"

#include <ostream>
#include <string>
#include <vector>

#include "cli/json_text.h"

namespace orvane::cli {

namespace {

constexpr std::size_t kHeaderLines = 4; // header, version, "Annotations", annotation

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> result;
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        result.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 2);
    }
    return result;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

void printSettingsJson(std::string_view settingsText, std::ostream& out) {
    const auto all = lines(settingsText);
    // Label and value lines alternate; the labels of one group are alike and follow each
    // other, so a group ends where the label changes.
    std::vector<std::pair<std::string_view, std::vector<std::string_view>>> groups;
    for (std::size_t i = kHeaderLines; i + 1 < all.size(); i += 2) {
        if (groups.empty() || groups.back().first != all[i]) groups.push_back({all[i], {}});
        groups.back().second.push_back(trimmed(all[i + 1]));
    }
    out << "{";
    for (std::size_t g = 0; g < groups.size(); ++g) {
        out << (g ? ",\n " : "\n ") << jsonText(groups[g].first) << ": [";
        const auto& values = groups[g].second;
        for (std::size_t v = 0; v < values.size(); ++v)
            out << (v ? ", " : "") << values[v];
        out << "]";
    }
    out << "\n}\n";
}

} // namespace orvane::cli
