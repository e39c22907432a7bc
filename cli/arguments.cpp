#include "cli/arguments.h"

namespace orvane::cli {

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
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
