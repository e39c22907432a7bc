// Ids of our own texts in the signal area; the English text of an id is at id + 1000.
#ifndef ORVANE_RESOURCES_TEXTS_SIGNAL_TEXTS_H
#define ORVANE_RESOURCES_TEXTS_SIGNAL_TEXTS_H

#include "resources/text_entry.h"

namespace orvane::text_id {

// The Signal tab of the configuration dialog.
inline constexpr int kSignalTab = 450;
inline constexpr int kSignalPause = 451;
inline constexpr int kSignalResume = 452;
inline constexpr int kSignalClear = 453;
inline constexpr int kSignalRecord = 454;
inline constexpr int kSignalStopRecording = 455;
inline constexpr int kSignalSavePicture = 456;
inline constexpr int kSignalRecording = 457; // %1 reports, %2 size
inline constexpr int kSignalNoReports = 458;
inline constexpr int kSignalFiguresSince = 459;
inline constexpr int kSignalReports = 460;
inline constexpr int kSignalRate = 461;
inline constexpr int kSignalIntervals = 462;
inline constexpr int kSignalHistogram = 463;
inline constexpr int kSignalDropouts = 464;
inline constexpr int kSignalRepeats = 465;
inline constexpr int kSignalDuration = 466;
inline constexpr int kSignalAxis = 467;
inline constexpr int kSignalCurrent = 468;
inline constexpr int kSignalMin = 469;
inline constexpr int kSignalMax = 470;
inline constexpr int kSignalMean = 471;
inline constexpr int kSignalStd = 472;
inline constexpr int kSignalPtp1s = 473;
inline constexpr int kSignalButton = 474;
inline constexpr int kSignalPressed = 475;
inline constexpr int kSignalChanges = 476;
inline constexpr int kSignalYes = 477;
inline constexpr int kSignalNo = 478;
inline constexpr int kSignalRecordTitle = 479;
inline constexpr int kSignalCsvFilter = 480;
inline constexpr int kSignalPictureTitle = 481;
inline constexpr int kSignalPngFilter = 482;
inline constexpr int kSignalCannotWrite = 483;      // %1 file
inline constexpr int kSignalRecordingStopped = 484; // %1 file
inline constexpr int kSignalRecorded = 485;         // %1 reports, %2 size, %3 file
inline constexpr int kSignalPaused = 486;

} // namespace orvane::text_id

#endif
