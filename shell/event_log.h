// The event log and the uniform error report of the main window. Entries are a time stamp
// line and a message line; the sink decides where they go and how they are framed.
#ifndef ORVANE_SHELL_EVENT_LOG_H
#define ORVANE_SHELL_EVENT_LOG_H

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "shell/ui_services.h"

namespace orvane {

class RuntimeFailure;

enum class EventType : int { Error = 1, Warning = 2, Information = 4 };

// Receives each finished entry with its event type.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void append(std::string_view entryText, EventType type) = 0;
};

class EventLog {
public:
    using TimeStamp = std::function<std::string()>; // "short date,time"

    EventLog(UiServices& ui, TimeStamp timeStamp);
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Log start: entries written before it are dropped.
    void start(std::unique_ptr<LogSink> sink);
    bool started() const { return sink_ != nullptr; }

    void logI(std::string_view message) { writeLog(message, EventType::Information); }
    void logW(std::string_view message) { writeLog(message, EventType::Warning); }
    void logE(std::string_view message) { writeLog(message, EventType::Error); }
    void writeLog(std::string_view message, EventType type);

    // "Error " + number + ", " + description: an error entry, then a message box.
    void errorMsg(int number, std::string_view description);
    void errorMsg(const RuntimeFailure& failure);

    // Owner window of the error message boxes.
    void setMessageParent(WindowHandle parent) { messageParent_ = parent; }

private:
    UiServices& ui_;
    TimeStamp timeStamp_;
    std::unique_ptr<LogSink> sink_;
    WindowHandle messageParent_;
};

} // namespace orvane

#endif
