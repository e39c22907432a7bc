// Texts of ours in the config area (ids 100-199), German and English.
#include "resources/texts/config_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 13> kConfigTexts{{
    {text_id::kStoreWhichQuestion,
     "Die angezeigten Werte sind nicht die des Interfaces: Sie wurden geändert oder aus einer "
     "Datei gelesen und nicht übertragen. Speichern sichert nur, was das Interface hält.",
     "The values shown are not those the interface holds: they were edited or read from a file "
     "and not transmitted. Storing keeps only what the interface holds."},
    {text_id::kStoreTransmitFirst, "Übertragen und speichern", "Transmit and Store"},
    {text_id::kStoreInterfaceValues, "Werte des Interfaces speichern",
     "Store the Interface's Values"},
    {text_id::kGoBack, "Zurück", "Go Back"},
    {text_id::kStoredShownValues,
     "Die angezeigten Werte wurden übertragen und im Interface gespeichert.",
     "The values shown were transmitted and stored in the interface."},
    {text_id::kStoredInterfaceValues,
     "Gespeichert wurden die eigenen Werte des Interfaces; die angezeigten Werte wurden weder "
     "übertragen noch gespeichert.",
     "The interface's own values were stored; the values shown were neither transmitted nor "
     "stored."},
    {text_id::kNothingStoredAfterTransmit,
     "Die Übertragung ist nicht vollständig erfolgt, daher wurde nichts gespeichert.",
     "The transmission did not fully happen, so nothing was stored."},
    {text_id::kDiscardQuestion,
     "Die Änderungen wurden weder zum Interface übertragen noch in einer Datei gesichert. "
     "Verwerfen?",
     "The changes were neither transmitted to the interface nor saved to a file. Discard them?"},
    {text_id::kDiscard, "Verwerfen", "Discard"},
    {text_id::kValuesFromFile,
     "Die Werte stammen aus der Datei und sind noch nicht im Interface; "
     "\"Übertragen in Interface\" sendet sie.",
     "The values come from the file and are not in the interface yet; Transmit to Interface "
     "sends them."},
    {text_id::kNotASettingsFile,
     "%1 ist keine Einstellungsdatei: Sie beginnt nicht mit \"Orvane settings file version:\". "
     "Es wurde nichts geladen.",
     "%1 is not a settings file: it does not begin with \"Orvane settings file version:\". "
     "Nothing was loaded."},
    {text_id::kCloseAfterSequence,
     "Das Fenster sollte geschlossen werden, während der Vorgang lief. Jetzt schließen?",
     "The window was asked to close while this ran. Close it now?"},
    {text_id::kClose, "Schließen", "Close"},
}};

} // namespace

std::span<const TextEntry> configTexts() {
    return kConfigTexts;
}

} // namespace orvane
