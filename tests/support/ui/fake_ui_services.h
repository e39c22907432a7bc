// UiServices that answer at once (see FakeCoreUiServices); modal windows are shown and then
// handed to a callback (which usually closes them).
#ifndef ORVANE_TESTS_FAKE_UI_SERVICES_H
#define ORVANE_TESTS_FAKE_UI_SERVICES_H

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "ui/fake_core_ui_services.h"

namespace orvane::test {

class FakeUiServices : public FakeCoreUiServices {
public:
    std::vector<std::string> modalWindows; // objectName of each window shown
    std::function<void(QDialog&)> onModal; // runs while the window "is shown"

    int showModal(WindowHandle window) override {
        // The windows shown are dialogs, whose address is their widget's.
        auto& dialog = *static_cast<QDialog*>(const_cast<void*>(window.address()));
        modalWindows.push_back(dialog.objectName().toStdString());
        dialog.show();
        if (onModal) onModal(dialog);
        dialog.hide();
        return dialog.result();
    }
};

} // namespace orvane::test

#endif
