// The file behind the event log: "events.log" in the program's folder, appended across
// runs. An installed program's folder is usually read-only, so the user's state folder
// takes the log then; when neither can be written the program goes on without a log.
#ifndef ORVANE_SHELL_LOG_FILE_H
#define ORVANE_SHELL_LOG_FILE_H

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "shell/event_log.h"

namespace orvane {

inline constexpr const char* kLogFileName = "events.log";

// Appends entries framed as: type word and number line, the entry's lines, each ended by
// CR LF, e.g. "Information (4)" / "07.12.2026,23:15:02" / "App Start v2.3.55".
class FileLogSink : public LogSink {
public:
    // Opens the file for appending; nullptr when it cannot be opened.
    static std::unique_ptr<FileLogSink> open(const std::filesystem::path& path);
    FileLogSink(std::filesystem::path path, std::FILE* file)
        : path_(std::move(path)), file_(file) {}
    void append(std::string_view entryText, EventType type) override;
    const std::filesystem::path& path() const { return path_; }

private:
    struct FileClose {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::filesystem::path path_;
    std::unique_ptr<std::FILE, FileClose> file_;
};

// Word that frames an entry of that type in the file.
const char* eventTypeWord(EventType type);

// $XDG_STATE_HOME/orvane, else $HOME/.local/state/orvane; empty when neither is set.
std::filesystem::path
userStateFolder(const std::function<std::optional<std::string>(const char*)>& env);

// events.log in programFolder, else in stateFolder (created if needed), else nullptr.
std::unique_ptr<FileLogSink> openEventLogFile(const std::filesystem::path& programFolder,
                                              const std::filesystem::path& stateFolder);

} // namespace orvane

#endif
