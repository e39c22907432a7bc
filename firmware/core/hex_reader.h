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
    bool notHex = false; // the content holds no record mark at all
    std::string describe() const;
};

// True when the content holds a record and only text before it (a byte-order mark passed
// over).
bool looksLikeIntelHex(std::string_view content);

// Records are found by their record mark ":" and run to the end of their line. A byte-order
// mark and lines before the first record (a comment a tool wrote; there a mark counts only
// at the start of a line) are passed over, so is text between records, and nothing after
// the end-of-file record is read. Content with text but no record is refused as no Intel
// HEX file at all.
// Extended segment (02) and linear (04) address records are applied; data is stored only
// where it lies in 0x2000-0x5FFF. Hexadecimal digits are read in either case.
std::variant<HexFile, HexError> readIntelHex(std::string_view content);

} // namespace orvane::firmware

#endif
