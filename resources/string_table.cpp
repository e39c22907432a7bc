// The program's string table: German texts under ids 1 to 67, English under 1001 to 1067;
// beyond them the tables of our own texts (resources/texts), in blocks of their own.
// Texts are kept exactly as the program has always shown them, odd spellings included.
#include "resources/string_table.h"

#include "resources/text_entry.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 67> kStrings{{
    {1,
     "Wählen Sie das RC USB-Interface aus, indem Sie es anklicken. Schalter \"öffnen\" stellt eine "
     "Verbindung her, \"aktualisieren\" erneuert die Geräte-Liste, \"Firmware..\" führt bei "
     "aktivem Bootloader ein Firmwarupdate durch und \"Updates suchen\" findet im Web "
     "aktualisierte Software.",
     "Choose the R/C USB-Interface below by clicking its name.  Then click \"Open\" to connect to "
     "it.  Click \"Refresh\" to update the device list. Click \"Firmware\" to update the firmware "
     "with activated bootloader."},
    {2, "&Öffnen", "&Open"},
    {3, "&Firmware...", "&Firmware..."},
    {4, "&HID-Konsole", "&HID Console"},
    {5, "&Aktualisieren", "&Refresh"},
    {6, "&Updates suchen", "&Search Updates"},
    {7, "&Beenden", "&Close"},
    {8, "Öffnen Sie zuerst das Interface, um seine Firmwareversion zu lesen.",
     "Open USB-Interface first to read out the firmware version"},
    {9, "&Öffnen...", "&Open..."},
    {10, "&Program mieren", "&Program"},
    {11, "&Löschen", "&Erase"},
    {12, "&Verifizieren", "&Verify"},
    {13, "&Reset", "&Reset"},
    {14, "&LED", "&LED"},
    {15, "&Abbrechen", "&Cancel"},
    {16, "Verbinden Sie das USB-Interfece jetzt mit dem PC!",
     "Connect the USB-Interface 3 with the PC now!"},
    {17, "Falls es schon verbunden war, ziehen Sie es ab und verbinden es erneut!",
     "If it is already connected, unplug it and reconnect it!"},
    {18, "Der Bootloader muss aktiv sein.", "Bootloader must be activated."},
    {19, "gefunden", "found"},
    {20, "&Senden", "&Send"},
    {21, "unbelegt", "not assigned"},
    {22, "Kommandos", "Assigned Commands"},
    {23, "&Rücksetzen", "&Clear"},
    {24, "Lesen:", "Read:"},
    {25, "Schreiben:", "Write:"},
    {26, "Gerät:", "Device:"},
    {27, "&Laden von Datei", "&Read from File"},
    {28, "&Speichern in Datei", "&Save in File"},
    {29, "&Laden von Interface", "&Load from Interface"},
    {30, "&Übertragen in Interface", "&Transmit to Interface"},
    {31, "In Interface &speichern && schließen", "Store in &Interface && Exit"},
    {32, "Lesen..", "Reading..."},
    {33, "Voreinstellungen laden", "Load Presets"},
    {34, "Signal-Dekodierung", "Decoding Mode"},
    {35, "RC Kanäle den Joystick-Achsen zuordnen", "Assign R/C channels to joystick axis"},
    {36, "RC Kanäle den Joystick-Tasten zuordnen", "Assign R/C channels to buttons"},
    {37, "Mischer", "Mixers"},
    {38, "Knüppelmodus 1", "Stick mode 1"},
    {39, "Knüppelmodus 2", "Stick mode 2"},
    {40, "Knüppelmodus 3", "Stick mode 3"},
    {41, "Knüppelmodus 4", "Stick mode 4"},
    {42, "RF G2", "RF G2"},
    {43, "Bootloader aktivieren", "activate Bootloader"},
    {44, "1. Taste durch Kanal 5 ausgelöst", "1st button on 5th channel"},
    {45, "1. Taste druch Kanal 3 ausgelöst", "1st button on 3rd channel"},
    {46, "Alle Tasten aus", "All buttons off"},
    {47, "RC Kanal", "R/C channel"},
    {48, "Invert ieren", "Invert"},
    {49, "Ausgabe", "Output"},
    {50, "Joystick-Geräte", "Joystick Devices"},
    {51, "Taste", "Button"},
    {52, "Taste auslösen, wenn Kanal-Position größer als",
     "Trigger if R/C channel position greater than"},
    {53, "Aktiv", "Active"},
    {54, "Mischernummer", "Mixer Number"},
    {55, "Quell-RC-Kanal", "Source RC Channel"},
    {56, "Ziel-RC-Kanal", "Destination RC Channel"},
    {57, "Offset", "Offset"},
    {58, "Linear", "Linear"},
    {59, "Faktor", "Factor"},
    {60, "Exponent", "Exponent"},
    {61, "Quadratisch", "Quadratic"},
    {62, "&Mischer löschen", "Clear &Mixers"},
    {63, "Joystick achse", "Joystick axis"},
    {64, "Der Bootloader älterer Interfaces (Jahr 2006) ist inkompatibel zu",
     "Bootloader (Interface of year 2006 or older) is incompatible with"},
    {65, "Aktivieren Sie ihn nur, wenn Sie sicher sind.", "Only enable if you are sure of it."},
    {66, "Übertragen..", "transmitting.."},
    {67,
     "USB-Interface sollte abgezogen und neu angesteckt werden, um alle Änderungen zu übernehmen.",
     "USB-Interface should be detached and reattached to apply all changes"},
}};

} // namespace

std::span<const TextEntry> programTexts() {
    return kStrings;
}

std::array<std::span<const TextEntry>, 7> ourTextAreas() {
    return {configTexts(),  firmwareTexts(), deviceTexts(), signalTexts(),
            consoleTexts(), cliTexts(),      sharedTexts()};
}

std::string_view stringTable(int id) {
    const bool english = id > 1000;
    const int base = english ? id - 1000 : id;
    const auto find = [&](std::span<const TextEntry> table) -> const TextEntry* {
        for (const TextEntry& e : table) {
            if (e.id == base) return &e;
        }
        return nullptr;
    };
    const TextEntry* found = find(kStrings);
    for (const auto& area : ourTextAreas()) {
        if (found) break;
        found = find(area);
    }
    if (!found) return {};
    return english ? found->english : found->german;
}

} // namespace orvane
