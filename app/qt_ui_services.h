// UiServices of the running program: Qt message boxes, file dialogs and QDialog::exec.
#ifndef ORVANE_APP_QT_UI_SERVICES_H
#define ORVANE_APP_QT_UI_SERVICES_H

#include "app/core/ui_services.h"

namespace orvane {

class QtUiServices : public UiServices {
public:
    MessageResult messageBox(QWidget* parent, const MessageBoxRequest& request) override;
    std::string openFileName(QWidget* parent, const FileDialogRequest& request) override;
    OpenFileChoice openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::string saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    int showModal(QDialog& dialog) override;
};

} // namespace orvane

#endif
