#include "shell/localization.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "resources/string_table.h"
#include "shell/app_context.h"

namespace orvane {

namespace {

struct Territory {
    const char* code;
    int callingCode;
};

// The territories whose locales a desktop commonly carries.
constexpr Territory kCallingCodes[] = {
    {"AR", 54},  {"AT", 43},  {"AU", 61},  {"BE", 32},  {"BG", 359}, {"BR", 55},  {"CA", 1},
    {"CH", 41},  {"CL", 56},  {"CN", 86},  {"CO", 57},  {"CY", 357}, {"CZ", 420}, {"DE", 49},
    {"DK", 45},  {"EE", 372}, {"EG", 20},  {"ES", 34},  {"FI", 358}, {"FR", 33},  {"GB", 44},
    {"GR", 30},  {"HK", 852}, {"HR", 385}, {"HU", 36},  {"ID", 62},  {"IE", 353}, {"IL", 972},
    {"IN", 91},  {"IS", 354}, {"IT", 39},  {"JP", 81},  {"KR", 82},  {"LI", 423}, {"LT", 370},
    {"LU", 352}, {"LV", 371}, {"MX", 52},  {"NL", 31},  {"NO", 47},  {"NZ", 64},  {"PL", 48},
    {"PT", 351}, {"RO", 40},  {"RS", 381}, {"RU", 7},   {"SE", 46},  {"SG", 65},  {"SI", 386},
    {"SK", 421}, {"TR", 90},  {"TW", 886}, {"UA", 380}, {"US", 1},   {"ZA", 27},  {"BY", 375},
};

} // namespace

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

EnvironmentLocale::EnvironmentLocale(Env env) : env_(std::move(env)) {}

std::string EnvironmentLocale::getLocaleString(int informationType) const {
    if (informationType != kLocaleICountry || !env_) return {};
    // The first variable that is set and not empty names the locale, as setlocale does.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        auto value = env_(name);
        if (!value || value->empty()) continue;
        int code = countryCallingCode(localeTerritory(*value));
        return code > 0 ? std::to_string(code) : std::string{};
    }
    return {};
}

std::string localeTerritory(std::string_view localeName) {
    size_t end = localeName.find_first_of(".@");
    if (end != std::string_view::npos) localeName = localeName.substr(0, end);
    size_t sep = localeName.find('_');
    if (sep == std::string_view::npos) return {};
    std::string territory(localeName.substr(sep + 1));
    std::ranges::transform(territory, territory.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return territory;
}

int countryCallingCode(std::string_view territory) {
    auto it = std::ranges::find_if(kCallingCodes,
                                   [&](const Territory& t) { return territory == t.code; });
    return it == std::end(kCallingCodes) ? 0 : it->callingCode;
}

bool isGermanSystem(const SystemLocale& locale) {
    const std::string text = locale.getLocaleString(kLocaleICountry);
    int code = 0;
    // An empty or unreadable answer is not German.
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), code);
    return ec == std::errc{} && ptr == text.data() + text.size() && code == 49;
}

Language startupLanguage(const SystemLocale& locale) {
    if (isGermanSystem(locale)) return Language{kOffsetGerman, "de"};
    return Language{kOffsetEnglish, "en"};
}

std::string localized(int id, int offset) {
    return std::string(stringTable(id + offset));
}

} // namespace orvane
