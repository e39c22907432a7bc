#include "shell/log_file.h"

#include <system_error>

namespace orvane {

std::unique_ptr<FileLogSink> FileLogSink::open(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return nullptr;
    return std::make_unique<FileLogSink>(path, f);
}

const char* eventTypeWord(EventType type) {
    switch (type) {
    case EventType::Error:
        return "Error";
    case EventType::Warning:
        return "Warning";
    case EventType::Information:
        return "Information";
    }
    return "Event";
}

void FileLogSink::append(std::string_view entryText, EventType type) {
    std::string framed = eventTypeWord(type);
    framed += " (" + std::to_string(static_cast<int>(type)) + ")\r\n";
    framed += entryText;
    framed += "\r\n";
    // A failing write (full disk, removed medium) is ignored: the log is a trace, and the
    // program must go on without it.
    std::fwrite(framed.data(), 1, framed.size(), file_.get());
    std::fflush(file_.get());
}

std::filesystem::path
userStateFolder(const std::function<std::optional<std::string>(const char*)>& env) {
    if (auto state = env("XDG_STATE_HOME"); state && !state->empty() && state->front() == '/')
        return std::filesystem::path(*state) / "orvane";
    if (auto home = env("HOME"); home && !home->empty())
        return std::filesystem::path(*home) / ".local" / "state" / "orvane";
    return {};
}

std::unique_ptr<FileLogSink> openEventLogFile(const std::filesystem::path& programFolder,
                                              const std::filesystem::path& stateFolder) {
    // path / name joins without doubling the separator of a root folder.
    if (!programFolder.empty())
        if (auto sink = FileLogSink::open(programFolder / kLogFileName)) return sink;
    if (!stateFolder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(stateFolder, ec);
        if (auto sink = FileLogSink::open(stateFolder / kLogFileName)) return sink;
    }
    return nullptr;
}

} // namespace orvane
