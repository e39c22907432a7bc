#include "shell/event_log.h"

#include "device/runtime_failure.h"
#include "shell/ui_services.h"

namespace orvane {

EventLog::EventLog(UiServices& ui, TimeStamp timeStamp)
    : ui_(ui), timeStamp_(std::move(timeStamp)) {}

EventLog::~EventLog() = default;

void EventLog::start(std::unique_ptr<LogSink> sink) {
    sink_ = std::move(sink);
}

void EventLog::writeLog(std::string_view message, EventType type) {
    if (!sink_) return;
    std::string entry = timeStamp_ ? timeStamp_() : std::string{};
    entry += "\r\n";
    entry += message;
    sink_->append(entry, type);
}

void EventLog::errorMsg(int number, std::string_view description) {
    std::string text = "Error " + std::to_string(number) + ", ";
    text += description;
    logE(text);
    ui_.messageBox(messageParent_,
                   MessageBoxRequest{text, {}, MessageIcon::None, MessageButtons::Ok});
}

void EventLog::errorMsg(const RuntimeFailure& failure) {
    errorMsg(failure.number(), failure.description());
}

} // namespace orvane
