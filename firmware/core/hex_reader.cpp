#include "firmware/core/hex_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <optional>
#include <vector>

namespace orvane::firmware {
namespace {

enum class RecordType : std::uint8_t {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegmentAddress = 0x02,
    StartSegmentAddress = 0x03,
    ExtendedLinearAddress = 0x04,
    StartLinearAddress = 0x05,
};

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::string characterName(char c) {
    const auto u = static_cast<unsigned char>(c);
    char text[24];
    if (u >= 0x21 && u < 0x7F)
        std::snprintf(text, sizeof text, "'%c'", c);
    else
        std::snprintf(text, sizeof text, "character 0x%02X", u);
    return text;
}

std::string hexText(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
    return text;
}

// Where the data of the current records lands: segment addresses wrap within their 64 KiB
// segment, linear ones run on.
struct AddressBase {
    std::uint64_t base = 0;
    bool segmented = false;
    std::uint64_t addressOf(std::uint32_t offset, std::uint32_t k) const {
        return segmented ? base + ((offset + k) & 0xFFFFu) : base + offset + k;
    }
};

class Reader {
public:
    explicit Reader(std::string_view content) : content_(content) {}

    std::variant<HexFile, HexError> run() {
        while (true) {
            const std::size_t mark = nextMark();
            if (mark == std::string_view::npos) break;
            ++file_.records;
            recordLine_ = line_;
            const std::size_t end = lineEnd(mark + 1);
            if (auto error = readRecord(content_.substr(mark + 1, end - mark - 1), end))
                return *error;
            pos_ = end;
            if (ended_) return std::move(file_);
        }
        if (file_.records > 0)
            return HexError{file_.records, recordLine_,
                            "no end-of-file record follows; the file may be cut short"};
        return std::move(file_);
    }

private:
    // Finds the next record mark, counting the lines passed on the way. Before the first
    // record only a mark that begins its line counts: a comment line may hold a ":" too.
    std::size_t nextMark() {
        bool textOnLine = false;
        for (; pos_ < content_.size(); ++pos_) {
            const char c = content_[pos_];
            if (c == ':' && (file_.records > 0 || !textOnLine)) return pos_;
            // CR LF, LF and a lone CR each end one line.
            if (c == '\n' ||
                (c == '\r' && (pos_ + 1 >= content_.size() || content_[pos_ + 1] != '\n')))
                ++line_;
            if (isLineEnd(c))
                textOnLine = false;
            else if (c != ' ' && c != '\t')
                textOnLine = true;
        }
        return std::string_view::npos;
    }

    std::size_t lineEnd(std::size_t from) const {
        std::size_t i = from;
        while (i < content_.size() && !isLineEnd(content_[i]))
            ++i;
        return i;
    }

    HexError fail(std::string reason) const {
        return HexError{file_.records, recordLine_, std::move(reason)};
    }

    std::optional<HexError> readRecord(std::string_view body, std::size_t end) {
        while (!body.empty() && (body.back() == ' ' || body.back() == '\t'))
            body.remove_suffix(1);
        const bool lastInFile = end >= content_.size();
        for (char c : body)
            if (digitValue(c) < 0) return fail(characterName(c) + " is not a hexadecimal digit");
        if (body.size() % 2 != 0)
            return fail(lastInFile ? "record cut short at the end of the file"
                                   : "odd number of digits in the record");
        bytes_.clear();
        for (std::size_t i = 0; i < body.size(); i += 2)
            bytes_.push_back(
                static_cast<std::uint8_t>(digitValue(body[i]) * 16 + digitValue(body[i + 1])));
        if (bytes_.size() < 5)
            return fail(lastInFile ? "record cut short at the end of the file"
                                   : "record too short");
        const std::size_t count = bytes_[0];
        if (bytes_.size() < count + 5)
            return fail(lastInFile ? "record cut short at the end of the file"
                                   : "byte count " + std::to_string(count) +
                                         " runs past the end of the line");
        if (bytes_.size() > count + 5) return fail("characters after the checksum");
        const unsigned sum = std::accumulate(bytes_.begin(), bytes_.end(), 0u);
        if ((sum & 0xFFu) != 0) {
            const unsigned expected = (0x100u - ((sum - bytes_.back()) & 0xFFu)) & 0xFFu;
            return fail("checksum " + hexText(bytes_.back()) + " wrong, the record needs " +
                        hexText(expected));
        }
        return applyRecord(count);
    }

    std::optional<HexError> applyRecord(std::size_t count) {
        const std::uint32_t offset = (std::uint32_t{bytes_[1]} << 8) | bytes_[2];
        const std::uint8_t type = bytes_[3];
        const std::uint8_t* data = bytes_.data() + 4;
        const auto needCount = [&](std::size_t wanted) -> std::optional<HexError> {
            if (count == wanted) return std::nullopt;
            return fail("record type " + hexText(type) + " with byte count " +
                        std::to_string(count) + " instead of " + std::to_string(wanted));
        };
        switch (static_cast<RecordType>(type)) {
        case RecordType::Data:
            for (std::uint32_t k = 0; k < count; ++k) {
                const std::uint64_t address = base_.addressOf(offset, k);
                if (address >= kApplicationStart && address < kApplicationEnd)
                    file_.image.setByte(static_cast<std::uint32_t>(address), data[k]);
                else
                    ++file_.bytesLeftOut;
            }
            return std::nullopt;
        case RecordType::EndOfFile:
            if (auto error = needCount(0)) return error;
            ended_ = true;
            return std::nullopt;
        case RecordType::ExtendedSegmentAddress:
            if (auto error = needCount(2)) return error;
            base_ = {static_cast<std::uint64_t>((data[0] << 8) | data[1]) << 4, true};
            return std::nullopt;
        case RecordType::ExtendedLinearAddress:
            if (auto error = needCount(2)) return error;
            base_ = {static_cast<std::uint64_t>((data[0] << 8) | data[1]) << 16, false};
            return std::nullopt;
        case RecordType::StartSegmentAddress:
        case RecordType::StartLinearAddress:
            // A start address means nothing to the boot loader.
            return needCount(4);
        }
        return fail("unknown record type " + hexText(type));
    }

    std::string_view content_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int recordLine_ = 1;
    bool ended_ = false;
    AddressBase base_;
    std::vector<std::uint8_t> bytes_;
    HexFile file_;
};

} // namespace

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Text before the first record (a byte-order mark, a comment line a tool wrote) is passed
// over like the text between records; only content without any record mark is no HEX file.
std::string_view withoutByteOrderMark(std::string_view content) {
    if (content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());
    return content;
}

bool isText(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x20 && u < 0x7F) || c == '\t' || c == '\r' || c == '\n';
}

bool blank(std::string_view content) {
    return content.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

bool looksLikeIntelHex(std::string_view content) {
    content = withoutByteOrderMark(content);
    if (blank(content)) return false;
    const auto read = Reader(content).run();
    if (const auto* file = std::get_if<HexFile>(&read); file && file->records == 0) return false;
    // Enciphered or binary content holds bytes that are no text before its first ':'.
    const auto before = content.substr(0, content.find(':'));
    return std::all_of(before.begin(), before.end(), isText);
}

std::string HexError::describe() const {
    if (notHex) return "it is not an Intel HEX file (no line begins with the record mark \":\")";
    return "record " + std::to_string(record) + " in line " + std::to_string(line) + ": " + reason;
}

std::variant<HexFile, HexError> readIntelHex(std::string_view content) {
    content = withoutByteOrderMark(content);
    auto read = Reader(content).run();
    if (const auto* file = std::get_if<HexFile>(&read);
        file && file->records == 0 && !blank(content))
        return HexError{0, 1, "no record mark", true};
    return read;
}

} // namespace orvane::firmware
