// Reads an Intel HEX firmware file into a fresh memory image. A wrong byte here is a wrong
// byte in the interface's flash, so every record is checked (digits, length, checksum,
// type) and one malformed record refuses the whole file.
#ifndef ORVANE_FIRMWARE_CORE_HEX_READER_H
#define ORVANE_FIRMWARE_CORE_HEX_READER_H

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "firmware/core/memory_image.h"

namespace orvane::firmware {

struct HexFile {
    MemoryImage image;
    // Records read, each record mark counted, the end-of-file record included.
    int records = 0;
    // Data bytes that lie outside the application area and were therefore not stored.
    std::size_t bytesLeftOut = 0;
};

struct HexError {
    int record = 0; // counted from 1
    int line = 0;   // line of the file, counted from 1
    std::string reason;
    bool notHex = false; // the content does not begin with a record at all
    std::string describe() const;
};

// True when the first content other than blanks and line ends is a record mark ":".
bool looksLikeIntelHex(std::string_view content);

// A file whose first content (after blanks and line ends) is not a record mark is refused as
// no Intel HEX file at all. Records are found by their record mark ":" and run to the end of
// their line; text between records is passed over, and nothing after the end-of-file record
// is read.
// Extended segment (02) and linear (04) address records are applied; data is stored only
// where it lies in 0x2000-0x5FFF. Hexadecimal digits are read in either case.
std::variant<HexFile, HexError> readIntelHex(std::string_view content);

} // namespace orvane::firmware

#endif
