// About box: title, version, owner and web lines, revision history, system information.
#ifndef ORVANE_ABOUT_FRMABOUT_H
#define ORVANE_ABOUT_FRMABOUT_H

#include <QDialog>

#include "shell/app_context.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(AppContext& context, QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdSysInfo_Click() { StartSysInfo(); }
    void StartSysInfo();

private:
    void Form_Load();

    AppContext& context_;
    QLabel* picIcon_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblDescription_;
    QPlainTextEdit* revisionBox_;
    QPushButton* cmdOK_;
    QPushButton* cmdSysInfo_;
};

} // namespace orvane

#endif
