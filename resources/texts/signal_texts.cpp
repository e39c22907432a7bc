// Texts of ours in the signal area (ids 400-499), German and English.
#include "resources/texts/signal_texts.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<TextEntry, 37> kSignalTexts{{
    {450, "Signal", "Signal"},
    {451, "Anhalten", "Pause"},
    {452, "Weiter", "Resume"},
    {453, "Löschen", "Clear"},
    {454, "Aufzeichnen...", "Record..."},
    {455, "Aufzeichnung beenden", "Stop Recording"},
    {456, "Bild speichern...", "Save Picture..."},
    {457, "Aufzeichnung: %1 Berichte, %2", "Recording: %1 reports, %2"},
    {458, "Keine Joystick-Berichte", "No joystick reports"},
    {459, "Kennzahlen seit dem letzten Löschen", "Figures since the last Clear"},
    {460, "Berichte", "Reports"},
    {461, "Rate", "Rate"},
    {462, "Abstand min / Median / max", "Interval min / median / max"},
    {463, "Abstände (ms: Anzahl)", "Intervals (ms: count)"},
    {464, "Aussetzer", "Dropouts"},
    {465, "Wiederholungen", "Repeats"},
    {466, "Dauer", "Duration"},
    {467, "Achse", "Axis"},
    {468, "Aktuell", "Current"},
    {469, "Min", "Min"},
    {470, "Max", "Max"},
    {471, "Mittel", "Mean"},
    {472, "Std.-Abw.", "Std. dev."},
    {473, "Spanne 1 s", "Peak-peak 1 s"},
    {474, "Taste", "Button"},
    {475, "Gedrückt", "Pressed"},
    {476, "Wechsel", "Changes"},
    {477, "ja", "yes"},
    {478, "nein", "no"},
    {479, "Signal als CSV-Datei aufzeichnen", "Record the signal to a CSV file"},
    {480, "CSV-Dateien (*.csv)", "CSV files (*.csv)"},
    {481, "Bild des Signals speichern", "Save a picture of the signal"},
    {482, "PNG-Bilder (*.png)", "PNG images (*.png)"},
    {483, "Die Datei %1 kann nicht geschrieben werden.", "The file %1 cannot be written."},
    {484, "Die Aufzeichnung wurde beendet: die Datei %1 kann nicht weiter geschrieben werden.",
     "Recording stopped: the file %1 could not be written further."},
    {485, "Aufgezeichnet: %1 Berichte, %2 in %3", "Recorded: %1 reports, %2 in %3"},
    {486, "Angehalten", "Paused"},
}};

} // namespace

std::span<const TextEntry> signalTexts() {
    return kSignalTexts;
}

} // namespace orvane
