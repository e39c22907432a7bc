// Captions of the configuration dialog from the string table, in the main window's language.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <array>

#include "config/Dialog2.h"
#include "resources/string_table.h"

namespace orvane {
namespace {

struct Caption {
    const char* control;
    int id; // German id; the language offset is added
};

constexpr std::array<Caption, 42> kCaptions = {{
    {"CancelButton_0", 15},
    {"Command25", 27},
    {"Command26", 28},
    {"Command6", 29},
    {"Command14", 30},
    {"Command1", 31},
    {"Frame5", 33},
    {"Frame9", 34},
    {"Frame2", 35},
    {"Frame4_0", 36},
    {"Frame8_0", 37},
    {"bStickMode1", 38},
    {"bStickMode2", 39},
    {"bStickMode3", 40},
    {"bStickMode4", 41},
    {"bRFG2", 42},
    {"Bootloader_Checkbox", 43},
    {"Command17", 44},
    {"Command18", 45},
    {"Command16", 46},
    {"Label11", 47},
    {"Label22", 47},
    {"Label10_8", 48},
    {"Label8", 48},
    {"Label10_2", 49},
    {"Label10_3", 49},
    {"Label10_4", 50},
    {"Label12", 51},
    {"Label7", 52},
    {"Label21", 53},
    {"Label30_0", 54},
    {"Label25_0", 55},
    {"Label26_0", 56},
    {"Label27_0", 57},
    {"Label28_2", 58},
    {"Label28_0", 59},
    {"Label28_1", 59},
    {"Label29_0", 60},
    {"Label29_1", 60},
    {"Label28_3", 61},
    {"Command7", 62},
    {"Label1", 63},
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
}

} // namespace orvane
