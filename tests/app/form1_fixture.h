// A main window on fakes: no library, no desktop, events.log in a temporary folder.
#ifndef ORVANE_TESTS_APP_FORM1_FIXTURE_H
#define ORVANE_TESTS_APP_FORM1_FIXTURE_H

#include <QAbstractButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

#include "app/Form1.h"
#include "ui/fake_tavrel_api.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"

namespace orvane::test {

class Form1Test : public ::testing::Test {
protected:
    FakeTavrelApi api;
    FakeUiServices ui;
    FakeOsInfo os;
    FakeSystemLocale locale{"1"};
    FakeUrlOpener urls;
    TemporaryFolder folder;
    int endCalls = 0;
    std::unique_ptr<Form1> form;

    Form1& start() {
        form = std::make_unique<Form1>(
            Form1Services{api, ui, os, locale, urls, folder.path(), folder.path() / "state",
                          [] { return std::string(kFixedStamp); }, [this] { ++endCalls; }});
        return *form;
    }

    template <class T = QWidget> T* control(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    QString caption(const char* name) const { return control<QAbstractButton>(name)->text(); }
    bool enabled(const char* name) const { return control<QWidget>(name)->isEnabled(); }
    QTreeWidget* list() const { return control<QTreeWidget>("DeviceList"); }
    void select(int row) const { list()->setCurrentItem(list()->topLevelItem(row)); }

    std::vector<std::string> logMessages() const {
        return logFileMessages(folder.path() / "events.log");
    }
    std::vector<FileEntry> logEntries() const {
        return logFileEntries(folder.path() / "events.log");
    }
    int logCount(const std::string& message) const {
        auto m = logMessages();
        return static_cast<int>(std::count(m.begin(), m.end(), message));
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : ui.messages)
            texts.push_back(m.text);
        return texts;
    }

    static FakeDevice listedMouse() { return {0x1234, 0x0001, "Mouse", "Acme", "SN42", 5, 0}; }
    static FakeDevice listedInterface() {
        return {0x537F, 0x6425, "ZT2960", "Tavrel", "EMU0", 18, 8};
    }
    static FakeDevice unlistedLoader() {
        return {0x5381, 0x640B, "Loader", "Tavrel", "", 22, 22, false, true};
    }
};

} // namespace orvane::test

#endif
