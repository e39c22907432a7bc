// Ids of our own texts in the firmware area; the English text of an id is at id + 1000.
#ifndef ORVANE_RESOURCES_TEXTS_FIRMWARE_TEXTS_H
#define ORVANE_RESOURCES_TEXTS_FIRMWARE_TEXTS_H

#include "resources/text_entry.h"

namespace orvane::text_id {} // namespace orvane::text_id

#endif
