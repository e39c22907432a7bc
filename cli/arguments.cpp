#include "cli/arguments.h"

#include "report/answer_timeout.h"

namespace orvane::cli {

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

std::string takeAnswerTimeout(std::vector<std::string>& words, report::ReportPort& port) {
    const std::string name(report::kAnswerTimeoutOption);
    for (auto it = words.begin(); it != words.end();) {
        std::string value;
        if (*it == name) {
            if (it + 1 == words.end()) return "The option " + name + " needs a value.";
            value = *(it + 1);
            it = words.erase(it, it + 2);
        } else if (it->starts_with(name + "=")) {
            value = it->substr(name.size() + 1);
            it = words.erase(it);
        } else {
            ++it;
            continue;
        }
        const auto timeout = report::parseAnswerTimeout(value);
        if (!timeout) return report::answerTimeoutError(name, value);
        port.setAnswerTimeout(*timeout);
    }
    return {};
}

Arguments parseArguments(std::span<const std::string> words, const std::set<std::string>& valued,
                         const std::set<std::string>& flags) {
    Arguments a;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 2 || w[0] != '-' || w == "--") {
            if (w != "--") a.positional.push_back(w);
            continue;
        }
        std::string name = w;
        std::optional<std::string> inlineValue;
        if (const auto eq = w.find('='); eq != std::string::npos && w.starts_with("--")) {
            name = w.substr(0, eq);
            inlineValue = w.substr(eq + 1);
        }
        if (flags.contains(name) && !inlineValue) {
            a.options[name] = "";
        } else if (valued.contains(name)) {
            if (inlineValue) {
                a.options[name] = *inlineValue;
            } else if (i + 1 < words.size()) {
                a.options[name] = words[++i];
            } else {
                a.error = "The option " + name + " needs a value.";
                return a;
            }
        } else {
            a.error = "Unknown option " + w + ".";
            return a;
        }
    }
    return a;
}

} // namespace orvane::cli
