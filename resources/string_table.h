#ifndef ORVANE_RESOURCES_STRING_TABLE_H
#define ORVANE_RESOURCES_STRING_TABLE_H

#include <string_view>

namespace orvane {

// UTF-8 text of string id (1..67 German, 1001..1067 English, and our own texts in blocks
// from 100 with their English at id + 1000); empty for an unknown id.
std::string_view stringTable(int id);

} // namespace orvane

#endif
