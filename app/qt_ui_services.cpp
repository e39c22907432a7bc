#include "app/qt_ui_services.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <array>

#include "program_version.h"
#include "shell/display_text.h"

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

QWidget* widgetOf(WindowHandle window) {
    // The handle holds the window object's own address, which is its widget's address.
    return static_cast<QWidget*>(const_cast<void*>(window.address()));
}

MessageResult QtUiServices::messageBox(WindowHandle parent, const MessageBoxRequest& request) {
    const QString title =
        request.title.empty() ? QString::fromUtf8(kProgramTitle) : displayText(request.title);
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (request.buttons == MessageButtons::YesNo) buttons = QMessageBox::Yes | QMessageBox::No;
    if (request.buttons == MessageButtons::YesNoCancel)
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    // A lone CR breaks the line in a message box as well.
    const QString text = displayText(request.text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(qtIcon(request.icon), title, text, buttons, widgetOf(parent));
    // Addresses and commands in a message are meant to be copied (selected by mouse only:
    // the keyboard focus stays on the buttons).
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    const std::array<QMessageBox::StandardButton, 3> named = {QMessageBox::Yes, QMessageBox::No,
                                                              QMessageBox::Cancel};
    for (std::size_t i = 0; i < request.buttonTexts.size() && i < named.size(); ++i) {
        if (QAbstractButton* button = box.button(named[i]);
            button && !request.buttonTexts[i].empty())
            button->setText(displayText(request.buttonTexts[i]));
    }
    const int answer = box.exec();
    switch (request.buttons) {
    case MessageButtons::YesNo:
        return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    case MessageButtons::YesNoCancel:
        return answer == QMessageBox::Yes  ? MessageResult::Yes
               : answer == QMessageBox::No ? MessageResult::No
                                           : MessageResult::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return MessageResult::Ok;
}

std::string QtUiServices::openFileName(WindowHandle parent, const FileDialogRequest& request) {
    return QFileDialog::getOpenFileName(widgetOf(parent), displayText(request.title),
                                        displayText(request.directory), displayText(request.filter))
        .toStdString();
}

OpenFileChoice QtUiServices::openFile(WindowHandle parent, const FileDialogRequest& request) {
    const QString filter = displayText(request.filter);
    QString selected;
    const QString name =
        QFileDialog::getOpenFileName(widgetOf(parent), displayText(request.title),
                                     displayText(request.directory), filter, &selected);
    const auto index = filter.split(QStringLiteral(";;")).indexOf(selected);
    return {name.toStdString(), index < 0 ? 1 : static_cast<int>(index) + 1};
}

std::string QtUiServices::saveFileName(WindowHandle parent, const FileDialogRequest& request) {
    const QFileDialog::Options options =
        request.confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(widgetOf(parent), displayText(request.title),
                                        displayText(request.directory), displayText(request.filter),
                                        nullptr, options)
        .toStdString();
}

int QtUiServices::showModal(WindowHandle window) {
    auto* dialog = qobject_cast<QDialog*>(widgetOf(window));
    return dialog ? dialog->exec() : 0;
}

} // namespace orvane
