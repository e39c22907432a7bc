// The language decision: German exactly when the system locale's country calling code is
// 49. The locale query is a small layer so that tests can answer it.
#ifndef ORVANE_SHELL_LOCALIZATION_H
#define ORVANE_SHELL_LOCALIZATION_H

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct Language;

inline constexpr int kLocaleICountry = 5; // information type: country calling code
inline constexpr int kOffsetGerman = 0;
inline constexpr int kOffsetEnglish = 1000;

// getLocaleString of the system's default locale: the value as text, empty when the
// locale cannot tell it.
class SystemLocale {
public:
    virtual ~SystemLocale() = default;
    virtual std::string getLocaleString(int informationType) const = 0;
};

// Linux: the locale named by LC_ALL, LC_MESSAGES or LANG (the first one set), e.g.
// "de_DE.UTF-8"; its territory gives the country calling code.
class EnvironmentLocale : public SystemLocale {
public:
    using Env = std::function<std::optional<std::string>(const char*)>;
    explicit EnvironmentLocale(Env env);
    std::string getLocaleString(int informationType) const override;

private:
    Env env_;
};

// Reads the real process environment.
std::optional<std::string> processEnvironment(const char* name);

// Territory ("DE") of a POSIX locale name ("de_DE.UTF-8@euro"); empty when it has none.
std::string localeTerritory(std::string_view localeName);
// Country calling code of an ISO 3166 territory; 0 when unknown.
int countryCallingCode(std::string_view territory);

bool isGermanSystem(const SystemLocale& locale);

// Start-up choice: German offset and "de", or English offset and "en".
Language startupLanguage(const SystemLocale& locale);

// Text of string id plus offset, as a window's caption loader needs it.
std::string localized(int id, int offset);

} // namespace orvane

#endif
