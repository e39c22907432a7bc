// "Save in File" and "Read from File": the dialog's items to and from settings files.
#include <QDir>

#include <variant>

#include "config/Dialog2.h"
#include "config/core/sequence_outcome.h"
#include "config/core/settings_file.h"
#include "files/file_access.h"
#include "program_version.h"
#include "resources/string_table.h"
#include "resources/text_fill.h"
#include "resources/texts/config_texts.h"
#include "resources/texts/shared_texts.h"
#include "shell/ui_services.h"

namespace orvane {
namespace {

constexpr const char* kFilter = "Orvane Setting File (*.orv)";

void plainMessage(UiServices& ui, QWidget* parent, std::string text) {
    MessageBoxRequest request;
    request.text = std::move(text);
    request.title = kProgramTitle;
    ui.messageBox(parent, request);
}

FileDialogRequest fileDialog(const char* title) {
    return FileDialogRequest{title, kFilter, QDir::homePath().toStdString()};
}

} // namespace

void Dialog2::Command26_Click() {
    // Settings files are replaced without asking, as they always were; the name is taken as
    // typed, so that a name without an extension never replaces another file unasked.
    FileDialogRequest request = fileDialog("Save Orvane Settings");
    request.confirmOverwrite = false;
    const std::string name = context_.ui.saveFileName(this, request);
    if (name.empty()) return;
    const auto written =
        files::replaceFile(name, config::writeSettingsFile(snapshot(), annotations_));
    if (const auto* error = std::get_if<files::FileError>(&written)) {
        plainMessage(context_.ui, this, error->description);
        return;
    }
    match_.savedToFile(config_);
}

void Dialog2::Command25_Click() {
    const std::string name = context_.ui.openFileName(this, fileDialog("Open Orvane Settings"));
    if (name.empty()) return;
    const auto file = files::readWholeFile(name);
    const auto* data = std::get_if<std::string>(&file);
    // A file of another kind (a firmware file, say) is refused whole: nothing of it is read.
    if (data && !config::hasSettingsHeader(*data)) {
        plainMessage(
            context_.ui, this,
            QString::fromUtf8(stringTable(text_id::kNotASettingsFile + context_.language.offset))
                .arg(QString::fromStdString(name))
                .toStdString());
        return;
    }
    const config::SettingsLoad load = config::readSettingsFile(
        data ? std::optional<std::string_view>(*data) : std::nullopt, snapshot(), annotations_);
    // What was read before a failure stays applied; the rest keeps its previous value.
    applySnapshot(load.items);
    annotations_ = load.annotations;
    if (load.failureMessage) plainMessage(context_.ui, this, *load.failureMessage);
    if (!load.failureMessage) configurationKnown_ = true;
    match_.readFromFile(config_, !load.failureMessage);
    refreshInterfaceMark();
    if (!match_.holdsInterfaceConfiguration(config_)) {
        setStatusText(
            QString::fromUtf8(stringTable(text_id::kValuesFromFile + context_.language.offset)) +
            QStringLiteral("\r\n"));
    }
    // Named now, not only when a Transmit cannot send them.
    const int offset = context_.language.offset;
    if (const auto notTaken = config::valuesTheInterfaceCannotTake(config_, offset);
        !notTaken.empty()) {
        std::string list;
        for (const std::string& value : notTaken)
            list += (list.empty() ? "" : ", ") + value;
        plainMessage(context_.ui, this,
                     localizedText(text_id::kFileValuesNotTaken, offset, {list}));
    }
    showCurrentMixer();
    if (!annotations_.empty()) plainMessage(context_.ui, this, annotations_);
}

} // namespace orvane
