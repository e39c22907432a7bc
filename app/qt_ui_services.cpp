#include "app/qt_ui_services.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "app/core/display_text.h"
#include "app/core/program_version.h"

namespace orvane {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageResult QtUiServices::messageBox(QWidget* parent, const MessageBoxRequest& request) {
    const QString title =
        request.title.empty() ? QString::fromUtf8(kProgramTitle) : displayText(request.title);
    const auto buttons = request.buttons == MessageButtons::YesNo
                             ? QMessageBox::Yes | QMessageBox::No
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(qtIcon(request.icon), title, displayText(request.text), buttons, parent);
    const int answer = box.exec();
    if (request.buttons == MessageButtons::YesNo)
        return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    return MessageResult::Ok;
}

std::string QtUiServices::openFileName(QWidget* parent, const FileDialogRequest& request) {
    return QFileDialog::getOpenFileName(parent, displayText(request.title),
                                        displayText(request.directory), displayText(request.filter))
        .toStdString();
}

OpenFileChoice QtUiServices::openFile(QWidget* parent, const FileDialogRequest& request) {
    const QString filter = displayText(request.filter);
    QString selected;
    const QString name = QFileDialog::getOpenFileName(parent, displayText(request.title),
                                                      displayText(request.directory), filter,
                                                      &selected);
    const auto index = filter.split(QStringLiteral(";;")).indexOf(selected);
    return {name.toStdString(), index < 0 ? 1 : static_cast<int>(index) + 1};
}

std::string QtUiServices::saveFileName(QWidget* parent, const FileDialogRequest& request) {
    const QFileDialog::Options options =
        request.confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, displayText(request.title),
                                        displayText(request.directory), displayText(request.filter),
                                        nullptr, options)
        .toStdString();
}

int QtUiServices::showModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace orvane
