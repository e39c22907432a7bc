// Texts of ours in the shared area (ids 700-899), German and English.
#include "resources/texts/shared_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 62> kSharedTexts{{
    {text_id::kReadAllAnswered,
     "Konfiguration aus dem Interface gelesen: alle %1 Befehle beantwortet.",
     "Configuration read from the interface: all %1 commands answered."},
    {text_id::kTransmittedAllAnswered,
     "Konfiguration in das Interface übertragen: alle %1 Befehle beantwortet (noch nicht "
     "gespeichert).",
     "Configuration transmitted to the interface: all %1 commands answered (not stored yet)."},
    {text_id::kStoredAllAnswered,
     "Konfiguration im Interface gespeichert: alle %1 Befehle beantwortet.",
     "Configuration stored in the interface: all %1 commands answered."},
    {text_id::kTransmitLeavesMix,
     " Bis es neu angesteckt wird, arbeitet das Interface womöglich mit einer Mischung aus alten "
     "und neuen Werten; seine gespeicherte Konfiguration ist unverändert.",
     " Until it is reconnected, the interface may run a mix of old and new values; its stored "
     "configuration is untouched."},
    {text_id::kStoreMayBeMissing,
     " Der Speicherbefehl wurde gesendet, aber seine Antwort kam nicht: Das Interface hat seine "
     "Konfiguration womöglich gespeichert, womöglich nicht.",
     " The store command was sent but its answer did not come: the interface may or may not "
     "have stored its configuration."},
    {text_id::kStoreAnswered,
     " Das Interface hat den Speicherbefehl beantwortet: Es hat seine Konfiguration gespeichert.",
     " The interface answered the store command: it stored its configuration."},
    {text_id::kStoreRefused,
     " Das Interface hat den Speicherbefehl abgelehnt: Es hat seine Konfiguration nicht "
     "gespeichert.",
     " The interface refused the store command: it did not store its configuration."},
    {text_id::kStoreNotReached,
     " Der Speicherbefehl hat das Interface nicht erreicht: Es hat seine Konfiguration nicht "
     "gespeichert.",
     " The store command did not reach the interface: it did not store its configuration."},
    {text_id::kSequenceRead, "Das Lesen", "The read"},
    {text_id::kSequenceTransmission, "Die Übertragung", "The transmission"},
    {text_id::kSequenceStoring, "Das Speichern", "Storing"},
    {text_id::kSequenceFailedCounted,
     "%1 ist nicht vollständig gelungen: %2 von %3 fehlgeschlagen (%4)%5.",
     "%1 did not fully happen: %2 of %3 failed (%4)%5."},
    {text_id::kOneCommand, "%1 Befehl", "%1 command"},
    {text_id::kManyCommands, "%1 Befehlen", "%1 commands"},
    {text_id::kSequenceFailed, "%1 ist nicht vollständig gelungen.", "%1 did not fully happen."},
    {text_id::kCountNotSent, "%1 nicht gesendet", "%1 not sent"},
    {text_id::kCountNotWritten, "%1 nicht geschrieben", "%1 not written"},
    {text_id::kCountNotAnswered, "%1 nicht beantwortet", "%1 not answered"},
    {text_id::kNotSentCannotTake,
     " Nicht gesendet: Das Interface kann %1 nicht übernehmen; ein Mischer-Befehl trägt zwei "
     "Mischer, daher wurde auch der andere seines Paares nicht geschrieben.",
     " Not sent: the interface cannot take %1; a mixer command carries two mixers, so the other "
     "one of its pair was not written either."},
    {text_id::kNotSentBecause, " Nicht gesendet: %1", " Not sent: %1"},
    {text_id::kStoppedAnswering,
     " Das Interface antwortet nicht mehr (es wurde abgezogen oder ist ausgefallen).",
     " The interface stopped answering (it left or failed)."},
    {text_id::kNothingWrittenFrom,
     " Ab Befehl %1 konnte nichts mehr geschrieben werden: Das Interface wurde womöglich "
     "abgezogen.",
     " Nothing could be written from command %1 on: the interface may have left."},
    {text_id::kAnswersCannotHold,
     " Antworten enthielten Werte, die das Interface nicht halten kann; diese Einträge blieben, "
     "wie sie waren: %1.",
     " Answers carried values the interface cannot hold; those items were left as they were: "
     "%1."},
    {text_id::kNothingRead,
     "Nichts wurde gelesen: Die Regler zeigen nicht die Konfiguration des Interfaces.",
     "Nothing was read: the controls do not show the interface's configuration."},
    {text_id::kFailedItemsKept,
     "Die Einträge der fehlgeschlagenen Befehle behalten ihre bisherigen Werte.",
     "The items of the failed commands keep their previous values."},
    {text_id::kAxisChannelValue, "Achse %1 Kanal %2", "axis %1 channel %2"},
    {text_id::kButtonChannelValue, "Taste %1 Kanal %2", "button %1 channel %2"},
    {text_id::kButtonTriggerValue, "Taste %1 Auslöseschwelle %2", "button %1 trigger level %2"},
    {text_id::kDecodingModeValue, "Signal-Dekodierung %1", "decoding mode %1"},
    {text_id::kMixerValue, "Mischer %1 %2 %3", "mixer %1 %2 %3"},
    {text_id::kMixerAssignment, "Zuordnung", "assignment"},
    {text_id::kMixerNeutral, "Nullpunkt", "neutral"},
    {text_id::kMixerFactor, "Faktor", "factor"},
    {text_id::kMixerExponent, "Exponent", "exponent"},
    {text_id::kMixerFactorQ, "Q-Faktor", "Q-factor"},
    {text_id::kMixerExponentQ, "Q-Exponent", "Q-exponent"},
    {text_id::kCountUnsupported, "; %1 von Firmware %2 nicht unterstützt%3",
     "; %1 not supported by firmware %2%3"},
    {text_id::kLacksMixersAndMode, " (Mischer, Signal-Dekodierung)", " (mixers, decoding mode)"},
    {text_id::kLacksDecodingMode, " (Signal-Dekodierung)", " (decoding mode)"},
    {text_id::kReadSomeAnswered,
     "Konfiguration aus dem Interface gelesen: %1 Befehle beantwortet%2.",
     "Configuration read from the interface: %1 commands answered%2."},
    {text_id::kTransmittedSomeAnswered,
     "Konfiguration in das Interface übertragen (noch nicht gespeichert): %1 Befehle "
     "beantwortet%2.",
     "Configuration transmitted to the interface (not stored yet): %1 commands answered%2."},
    {text_id::kCountRefusedByInterface, "%1 vom Interface abgelehnt",
     "%1 refused by the interface"},
    {text_id::kStoredSomeAnswered,
     "Konfiguration im Interface gespeichert: %1 Befehle beantwortet%2.",
     "Configuration stored in the interface: %1 commands answered%2."},

    {text_id::kFailedTransmitState,
     "Das letzte Übertragen in das Interface ist nicht vollständig gelungen (%1 von %2 Befehlen "
     "fehlgeschlagen): Bis es neu angesteckt wird, arbeitet das Interface womöglich mit einer "
     "Mischung aus alten und neuen Werten.",
     "The last Transmit to Interface did not fully happen (%1 of %2 commands failed): until it "
     "is reconnected, the interface may run a mix of old and new values."},
    {text_id::kStoreAnyway, " Trotzdem im Interface speichern?",
     " Store them in the interface anyway?"},
    {text_id::kCloseAnyway, " Trotzdem schließen?", " Close anyway?"},
    {text_id::kTransmitUnknownConfiguration,
     "Die angezeigte Konfiguration wurde weder vollständig aus dem Interface gelesen noch aus "
     "einer Datei geladen; die Regler zeigen daher womöglich Vorgaben statt der Werte des "
     "Interfaces. Trotzdem übertragen?",
     "The configuration shown was neither read in full from the interface nor loaded from a "
     "file, so controls may show defaults rather than the interface's values. Transmit it "
     "anyway?"},
    {text_id::kFileValuesNotTaken,
     "Die Datei enthält Werte, die das Interface nicht übernehmen kann: %1.\r\n\"Übertragen in "
     "Interface\" sendet die Befehle mit diesen Werten nicht.",
     "The file holds values the interface cannot take: %1.\r\nTransmit to Interface will not "
     "send the commands that carry them."},

    {text_id::kBootLoaderOutOfStep,
     "Die Verbindung zum Bootloader ist aus dem Takt geraten. Der Bootloader wird erneut "
     "gesucht; wiederholen Sie den Vorgang, sobald er online ist.\r\n",
     "The link to the boot loader is out of step. Searching for the boot loader again; repeat "
     "the operation when it is online.\r\n"},
    {text_id::kCannotReadFile, "%1 kann nicht gelesen werden: %2.", "Cannot read %1: %2."},
    {text_id::kNotEnciphered,
     "%1 ist keine verschlüsselte Firmware; öffnen Sie die Datei mit dem Filter \"%2\".",
     "%1 is not enciphered firmware; open it with the filter \"%2\"."},
    {text_id::kNotOurEncipherment,
     "%1 ist keine von diesem Programm verschlüsselte Firmware-Datei; sie kann nicht "
     "entschlüsselt werden, nichts wurde geladen.",
     "%1 is not a firmware file enciphered by this program; it cannot be deciphered, nothing "
     "was loaded."},
    {text_id::kFileRefusedBecause, "%1 wird abgelehnt: %2", "%1 is refused: %2"},
    {text_id::kIsEnciphered,
     "%1 ist verschlüsselte Firmware; öffnen Sie die Datei mit dem Filter \"%2\".",
     "%1 is enciphered firmware; open it with the filter \"%2\"."},
    {text_id::kCannotEncipher, "%1 kann nicht verschlüsselt werden.", "Cannot encipher %1."},
    {text_id::kFileRefusedNothingLoaded, "Die Datei wird abgelehnt, %1; nichts wurde geladen.",
     "The file is refused, %1; nothing was loaded."},
    {text_id::kBytesLeftOut, " %1 Bytes außerhalb von 0x2000-0x5FFF ausgelassen.\r\n",
     " %1 bytes outside 0x2000-0x5FFF left out.\r\n"},

    {text_id::kFirmwareMajorTip, "Firmwareversion des zuletzt geöffneten Interfaces: Hauptnummer",
     "Firmware version of the interface opened last: major number"},
    {text_id::kFirmwareMinorTip, "Firmwareversion des zuletzt geöffneten Interfaces: Unternummer",
     "Firmware version of the interface opened last: minor number"},
    {text_id::kNoPermission,
     "Das Gerät ist aufgeführt, aber Sie haben keine Berechtigung, es zu öffnen.\r\n"
     "Installieren Sie mit diesem Befehl in einem Terminal die udev-Regel, die Ihnen den "
     "Zugriff auf das R/C USB-Interface erlaubt, und versuchen Sie es dann erneut. Angemeldet am "
     "Bildschirm dieses Rechners haben Sie damit sofort Zugriff; bei einer Anmeldung ohne "
     "Sitzung am Rechner (über SSH, ein Kiosk) erhält ihn die Gruppe plugdev: nehmen Sie sich "
     "mit \"sudo usermod -aG plugdev $USER\" auf und melden Sie sich neu an.\r\n\r\n%1",
     "The device is listed, but you have no permission to open it.\r\n"
     "Install the udev rule that gives you access to the R/C USB interface with this command in "
     "a terminal, then try again. Logged in at this machine's screen you have access at once; "
     "for a login without a seat session (over SSH, a kiosk) the rule gives access to the group "
     "plugdev: add yourself with \"sudo usermod -aG plugdev $USER\" and log in again.\r\n\r\n%1"},
    {text_id::kNoBrowser,
     "Der Webbrowser konnte nicht geöffnet werden. Öffnen Sie diese Adresse selbst, um nach "
     "Updates zu suchen:\r\n\r\n%1",
     "The web browser could not be opened. Open this address yourself to search for "
     "updates:\r\n\r\n%1"},

    {text_id::kDataBytesTip,
     "hexadezimale Bytes, durch einzelne Leerzeichen getrennt; zwei Leerzeichen hintereinander "
     "senden ein 00-Byte, ein Zeilenumbruch oder Tabulator zählt als ein Leerzeichen",
     "hexadecimal bytes separated by single blanks; two blanks in a row send a 00 byte, a line "
     "break or a tab counts as one blank"},
}};

} // namespace

std::span<const TextEntry> sharedTexts() {
    return kSharedTexts;
}

} // namespace orvane
