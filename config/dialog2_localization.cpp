// Captions of the configuration dialog from the string table, in the main window's language.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <array>

#include "config/Dialog2.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"
#include "signal/signal_tab.h"

namespace orvane {
namespace {

struct Caption {
    const char* control;
    int id; // German id; the language offset is added
};

constexpr std::array<Caption, 42> kCaptions = {{
    {"CancelButton_0", text_id::kCancelButton},
    {"Command25", text_id::kReadFromFile},
    {"Command26", text_id::kSaveInFile},
    {"Command6", text_id::kLoadFromInterface},
    {"Command14", text_id::kTransmitToInterface},
    {"Command1", text_id::kStoreInInterfaceAndExit},
    {"Frame5", text_id::kLoadPresets},
    {"Frame9", text_id::kDecodingMode},
    {"Frame2", text_id::kAssignAxes},
    {"Frame4_0", text_id::kAssignButtons},
    {"Frame8_0", text_id::kMixers},
    {"bStickMode1", text_id::kStickMode1},
    {"bStickMode2", text_id::kStickMode2},
    {"bStickMode3", text_id::kStickMode3},
    {"bStickMode4", text_id::kStickMode4},
    {"bRFG2", text_id::kRfG2},
    {"Bootloader_Checkbox", text_id::kActivateBootLoader},
    {"Command17", text_id::kFirstButtonOnChannel5},
    {"Command18", text_id::kFirstButtonOnChannel3},
    {"Command16", text_id::kAllButtonsOff},
    {"Label11", text_id::kRcChannel},
    {"Label22", text_id::kRcChannel},
    {"Label10_8", text_id::kInvert},
    {"Label8", text_id::kInvert},
    {"Label10_2", text_id::kOutput},
    {"Label10_3", text_id::kOutput},
    {"Label10_4", text_id::kJoystickDevices},
    {"Label12", text_id::kButton},
    {"Label7", text_id::kTriggerAbove},
    {"Label21", text_id::kActive},
    {"Label30_0", text_id::kMixerNumber},
    {"Label25_0", text_id::kSourceChannel},
    {"Label26_0", text_id::kDestinationChannel},
    {"Label27_0", text_id::kOffset},
    {"Label28_2", text_id::kLinear},
    {"Label28_0", text_id::kFactor},
    {"Label28_1", text_id::kFactor},
    {"Label29_0", text_id::kExponent},
    {"Label29_1", text_id::kExponent},
    {"Label28_3", text_id::kQuadratic},
    {"Command7", text_id::kClearMixers},
    {"Label1", text_id::kJoystickAxis},
}};

} // namespace

void Dialog2::updateLocalization() {
    const int offset = context_.language.offset;
    for (const Caption& caption : kCaptions) {
        const std::string_view text = stringTable(caption.id + offset);
        const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        QObject* control = findChild<QObject*>(QString::fromLatin1(caption.control));
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(qtext);
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            frame->setTitle(qtext);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(qtext);
        }
    }
    if (signalTab_) signalTab_->updateLocalization();
}

} // namespace orvane
