// Texts of ours in the firmware area (ids 200-299), German and English.
#include "resources/texts/firmware_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 4> kFirmwareTexts{{
    {200,
     "Der Anwendungsbereich ist m\u00f6glicherweise nur teilweise gel\u00f6scht: vor dem Reset "
     "L\u00f6schen, Programmieren und Verifizieren erneut ausf\u00fchren.",
     "The application area may be partly erased: run Erase, Program and Verify again before "
     "resetting."},
    {201,
     "Der Anwendungsbereich ist m\u00f6glicherweise nur teilweise programmiert: vor dem Reset "
     "L\u00f6schen, Programmieren und Verifizieren erneut ausf\u00fchren.",
     "The application area may be partly programmed: run Erase, Program and Verify again before "
     "resetting."},
    {202,
     "Der Flash-Speicher enth\u00e4lt nicht die Datei: vor dem Reset L\u00f6schen, "
     "Programmieren und Verifizieren erneut ausf\u00fchren.",
     "The flash does not hold the file: run Erase, Program and Verify again before resetting."},
    {203,
     "Verifizieren wurde nicht beendet, der Flash-Speicher ist ungepr\u00fcft: vor dem Reset "
     "Verifizieren erneut ausf\u00fchren.",
     "Verify did not finish, the flash is unchecked: run Verify again before resetting."},
}};

} // namespace

std::span<const TextEntry> firmwareTexts() {
    return kFirmwareTexts;
}

} // namespace orvane
