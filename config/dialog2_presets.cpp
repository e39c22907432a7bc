// The one-click presets and the boot-loader switch of the "Load Presets" frame.
#include <QCheckBox>

#include "config/Dialog2.h"
#include "config/core/presets.h"
#include "program_version.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"
#include "shell/os_version.h"
#include "shell/ui_services.h"

namespace orvane {
namespace {

void applyButtonPreset(Dialog2& dialog, const config::ButtonPreset& preset) {
    for (int i = 0; i < config::kButtonCount; ++i) {
        dialog.setButtonActive(i, true);
        dialog.setButtonInvert(i, preset.invert[i]);
        dialog.setButtonChannel(i, preset.channel[i]);
        dialog.setButtonThreshold(i, preset.threshold[i]);
    }
}

} // namespace

void Dialog2::applyStickMode(int mode) {
    if (mode < 1 || mode > 4) return;
    const auto& channels = config::kStickModes[static_cast<std::size_t>(mode - 1)];
    for (int i = 0; i < config::kAxisCount; ++i)
        setAxisChannel(i, channels[i]);
}

void Dialog2::bRFG2_Click() {
    for (int i = 0; i < config::kAxisCount; ++i)
        setAxisInvert(i, false);
    for (int i = 0; i < config::kAxisCount; ++i)
        setAxisChannel(i, config::kRfG2Channels[i]);
    for (int i = 0; i < config::kAxisCount; ++i)
        setAxisInvert(i, config::kRfG2Invert[i]);
}

void Dialog2::Command17_Click() {
    applyButtonPreset(*this, config::kFirstButtonOnChannel5);
}

void Dialog2::Command18_Click() {
    applyButtonPreset(*this, config::kFirstButtonOnChannel3);
}

void Dialog2::Command16_Click() {
    for (int i = 0; i < config::kButtonCount; ++i)
        setButtonActive(i, false);
}

// Old interfaces' boot loaders do not work with newer systems: a notice, not a refusal.
void Dialog2::Bootloader_Checkbox_Click() {
    if (!bootloaderCheckbox_->isChecked() || context_.os.isLegacyWindows()) return;
    const int offset = context_.language.offset;
    MessageBoxRequest request;
    request.text = std::string(stringTable(text_id::kIncompatibleBootLoader + offset)) + " " +
                   context_.os.versionName() + "\r\n" +
                   std::string(stringTable(text_id::kOnlyIfSure + offset));
    request.title = kProgramTitle;
    request.icon = MessageIcon::Exclamation;
    request.buttons = MessageButtons::Ok;
    context_.ui.messageBox(this, request);
}

} // namespace orvane
