// UiServices of the running program: Qt message boxes, file dialogs and QDialog::exec.
#ifndef ORVANE_APP_QT_UI_SERVICES_H
#define ORVANE_APP_QT_UI_SERVICES_H

#include "shell/ui_services.h"

class QWidget;

namespace orvane {

// The widget behind a handle (null for none).
QWidget* widgetOf(WindowHandle window);

class QtUiServices : public UiServices {
public:
    MessageResult messageBox(WindowHandle parent, const MessageBoxRequest& request) override;
    std::string openFileName(WindowHandle parent, const FileDialogRequest& request) override;
    OpenFileChoice openFile(WindowHandle parent, const FileDialogRequest& request) override;
    std::string saveFileName(WindowHandle parent, const FileDialogRequest& request) override;
    int showModal(WindowHandle window) override;
};

} // namespace orvane

#endif
