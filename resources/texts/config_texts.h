// Ids of our own texts in the config area; the English text of an id is at id + 1000.
#ifndef ORVANE_RESOURCES_TEXTS_CONFIG_TEXTS_H
#define ORVANE_RESOURCES_TEXTS_CONFIG_TEXTS_H

#include "resources/text_entry.h"

namespace orvane::text_id {

// Store in Interface and Exit when the controls do not hold what the interface holds.
inline constexpr int kStoreWhichQuestion = 100;
inline constexpr int kStoreTransmitFirst = 101;
inline constexpr int kStoreInterfaceValues = 102;
inline constexpr int kGoBack = 103;
inline constexpr int kStoredShownValues = 104;
inline constexpr int kStoredInterfaceValues = 105;
inline constexpr int kNothingStoredAfterTransmit = 106;
// Closing with edits that would be lost.
inline constexpr int kDiscardQuestion = 107;
inline constexpr int kDiscard = 108;
// Read from File.
inline constexpr int kValuesFromFile = 109;
inline constexpr int kNotASettingsFile = 110; // %1: the file's name
// A close asked for while a sequence ran.
inline constexpr int kCloseAfterSequence = 111;
inline constexpr int kClose = 112;

} // namespace orvane::text_id

#endif
