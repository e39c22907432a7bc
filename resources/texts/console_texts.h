// Ids of our own texts in the console area; the English text of an id is at id + 1000.
#ifndef ORVANE_RESOURCES_TEXTS_CONSOLE_TEXTS_H
#define ORVANE_RESOURCES_TEXTS_CONSOLE_TEXTS_H

#include "resources/text_entry.h"

namespace orvane::text_id {

// Shown in the console line and the read fields of an attempt that read no report.
inline constexpr int kNoReportCame = 500;

} // namespace orvane::text_id

#endif
