// Ids of our own texts in the firmware area; the English text of an id is at id + 1000.
#ifndef ORVANE_RESOURCES_TEXTS_FIRMWARE_TEXTS_H
#define ORVANE_RESOURCES_TEXTS_FIRMWARE_TEXTS_H

#include "resources/text_entry.h"

namespace orvane::text_id {

// What the application area may hold after an operation that did not complete, and what
// to run before resetting the interface.
inline constexpr int kFlashPartlyErased = 200;
inline constexpr int kFlashPartlyProgrammed = 201;
inline constexpr int kFlashNotTheFile = 202;
inline constexpr int kFlashUnchecked = 203;

} // namespace orvane::text_id

#endif
