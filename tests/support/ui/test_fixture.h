// Shared pieces of the shell's tests: an event log kept in memory and answering UI.
#ifndef ORVANE_TESTS_SUPPORT_UI_TEST_FIXTURE_H
#define ORVANE_TESTS_SUPPORT_UI_TEST_FIXTURE_H

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/temporary_folder.h"
#include "shell/event_log.h"
#include "ui/fake_app_services.h"
#include "ui/fake_core_ui_services.h"

namespace orvane::test {

inline constexpr const char* kFixedStamp = "07.12.2026,23:15:00";

// The devices an end-to-end test meets: the emulated ones named, or with
// ORVANE_E2E_REAL_DEVICE=1 the ones attached to the machine (the guest tests' USB gadget,
// which starts as the emulator's does).
inline void useDevices(const char* emulated) {
    if (const char* real = std::getenv("ORVANE_E2E_REAL_DEVICE"); real && *real == '1')
        unsetenv("TAVREL_EMULATOR");
    else
        setenv("TAVREL_EMULATOR", emulated, 1);
}

// How many times longer an end-to-end test waits for the device: ORVANE_E2E_PATIENCE, a
// whole factor (default 1), which the guest tests raise when their virtual machine runs
// slowly on a busy host.
inline int patience() {
    const char* text = std::getenv("ORVANE_E2E_PATIENCE");
    const int factor = text != nullptr ? std::atoi(text) : 1;
    return factor >= 1 ? factor : 1;
}
inline std::chrono::milliseconds patient(std::chrono::milliseconds bound) {
    return bound * patience();
}

struct LogFixture {
    FakeCoreUiServices ui;
    std::vector<LoggedEntry> entries;
    EventLog log{ui, [] { return std::string(kFixedStamp); }};

    LogFixture() { log.start(std::make_unique<MemoryLogSink>(entries)); }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : ui.messages)
            texts.push_back(m.text);
        return texts;
    }
};

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct FileEntry {
    std::string typeLine;
    std::string stamp;
    std::string message;
};

// Entries of an events.log: type line, time stamp line, message line, each CR LF.
inline std::vector<FileEntry> logFileEntries(const std::filesystem::path& path) {
    const std::string text = fileText(path);
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    std::vector<FileEntry> entries;
    for (size_t i = 0; i + 2 < lines.size(); i += 3)
        entries.push_back({lines[i], lines[i + 1], lines[i + 2]});
    return entries;
}

inline std::vector<std::string> logFileMessages(const std::filesystem::path& path) {
    std::vector<std::string> messages;
    for (const auto& e : logFileEntries(path))
        messages.push_back(e.message);
    return messages;
}

} // namespace orvane::test

#endif
