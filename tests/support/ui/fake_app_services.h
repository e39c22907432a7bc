// Doubles of the application shell's platform layers: the system locale, the desktop's
// URL handler and an event log kept in memory.
#ifndef ORVANE_TESTS_FAKE_APP_SERVICES_H
#define ORVANE_TESTS_FAKE_APP_SERVICES_H

#include <string>
#include <vector>

#include "shell/event_log.h"
#include "shell/localization.h"
#include "shell/update_check.h"

namespace orvane::test {

class FakeSystemLocale : public SystemLocale {
public:
    std::string countryCode; // answer to the country query; empty: the query failed
    explicit FakeSystemLocale(std::string code = "1") : countryCode(std::move(code)) {}
    std::string getLocaleString(int informationType) const override {
        return informationType == kLocaleICountry ? countryCode : std::string{};
    }
};

class FakeUrlOpener : public UrlOpener {
public:
    std::vector<std::string> urls;
    bool answer = true;
    bool openUrl(std::string_view url) override {
        urls.emplace_back(url);
        return answer;
    }
};

struct LoggedEntry {
    std::string text;
    EventType type;
};

// Keeps the entries; shared so that the test can read them after handing the sink over.
class MemoryLogSink : public LogSink {
public:
    explicit MemoryLogSink(std::vector<LoggedEntry>& entries) : entries_(entries) {}
    void append(std::string_view entryText, EventType type) override {
        entries_.push_back({std::string(entryText), type});
    }

private:
    std::vector<LoggedEntry>& entries_;
};

} // namespace orvane::test

#endif
