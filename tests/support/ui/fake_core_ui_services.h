// UiServices without widgets for the core tests: message boxes are recorded and answered
// from a queue, file dialogs return the names queued for them. No window is shown.
#ifndef ORVANE_TESTS_FAKE_CORE_UI_SERVICES_H
#define ORVANE_TESTS_FAKE_CORE_UI_SERVICES_H

#include <deque>
#include <string>
#include <vector>

#include "shell/os_version.h"
#include "shell/ui_services.h"

namespace orvane::test {

class FakeCoreUiServices : public UiServices {
public:
    std::vector<MessageBoxRequest> messages;
    std::deque<MessageResult> answers; // empty: Ok, or Yes for a question
    std::deque<std::string> openNames;
    std::deque<int> openFilters; // filter entry picked with each open name; empty: entry 1
    std::deque<std::string> saveNames;
    std::vector<FileDialogRequest> fileDialogs;

    MessageResult messageBox(WindowHandle, const MessageBoxRequest& request) override {
        messages.push_back(request);
        if (!answers.empty()) {
            MessageResult r = answers.front();
            answers.pop_front();
            return r;
        }
        return request.buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Yes;
    }
    std::string openFileName(WindowHandle, const FileDialogRequest& request) override {
        fileDialogs.push_back(request);
        return pop(openNames);
    }
    OpenFileChoice openFile(WindowHandle parent, const FileDialogRequest& request) override {
        OpenFileChoice choice{openFileName(parent, request), 1};
        if (!openFilters.empty()) {
            choice.filterIndex = openFilters.front();
            openFilters.pop_front();
        }
        return choice;
    }
    std::string saveFileName(WindowHandle, const FileDialogRequest& request) override {
        fileDialogs.push_back(request);
        return pop(saveNames);
    }
    int showModal(WindowHandle) override { return 0; }

private:
    static std::string pop(std::deque<std::string>& q) {
        if (q.empty()) return {};
        std::string s = q.front();
        q.pop_front();
        return s;
    }
};

class FakeOsInfo : public OsInfo {
public:
    OsVersionRecord record{2, 6, 1, 7601, {}};
    OsVersionRecord versionRecord() const override { return record; }
    std::string versionName() const override { return windowsVersionName(record); }
    bool isLegacyWindows() const override { return orvane::isLegacyWindows(record); }
};

} // namespace orvane::test

#endif
