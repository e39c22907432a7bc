// The HEX reader: where well-formed files put their bytes, and which files it refuses.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "firmware/core/hex_reader.h"
#include "hex_text.h"

namespace orvane::test {
namespace {

using firmware::HexError;
using firmware::HexFile;
using firmware::readIntelHex;

HexFile load(const std::string& text) {
    auto result = readIntelHex(text);
    if (auto* error = std::get_if<HexError>(&result)) {
        ADD_FAILURE() << error->describe();
        return {};
    }
    return std::get<HexFile>(std::move(result));
}

TEST(HexReader, ThreeRecordFileFillsOneLine) {
    const auto file = load(linearBase(0) + dataRecord(0x2000, counting(16, 0xA0)) + kEndRecord);
    EXPECT_EQ(file.records, 3);
    EXPECT_EQ(file.bytesLeftOut, 0u);
    EXPECT_EQ(file.image.filledLineCount(), 1u);
    EXPECT_TRUE(file.image.lineFilled(512));
    EXPECT_EQ(file.image.entry(513, 1), "A0");
    EXPECT_EQ(file.image.entry(513, 16), "AF");
}

TEST(HexReader, RecordsStraddlingTheApplicationAreaKeepOnlyTheirInsideBytes) {
    const auto file = load(dataRecord(0x1FF8, counting(16, 1)) +
                           dataRecord(0x5FF8, counting(16, 0x41)) + kEndRecord);
    EXPECT_EQ(file.image.byteAt(0x1FFF), 0xFF);
    EXPECT_EQ(file.image.byteAt(0x2000), 9);
    EXPECT_EQ(file.image.byteAt(0x2007), 16);
    EXPECT_EQ(file.image.byteAt(0x2008), 0xFF);
    EXPECT_EQ(file.image.byteAt(0x5FF8), 0x41);
    EXPECT_EQ(file.image.byteAt(0x5FFF), 0x48);
    EXPECT_EQ(file.bytesLeftOut, 16u);
    EXPECT_EQ(file.image.filledLineCount(), 2u);
}

TEST(HexReader, OnlyRecordsUpToTheEndRecordAreRead) {
    // A mark in the very first character, text between records, and after the end record
    // neither more data nor malformed text is looked at.
    const auto file = load(dataRecord(0x3000, {0x12}) + "\r\n  \r\n" + kEndRecord +
                           dataRecord(0x3000, {0x34}) + ":zz\r\n");
    EXPECT_EQ(file.records, 2);
    EXPECT_EQ(file.image.byteAt(0x3000), 0x12);
    EXPECT_EQ(file.image.filledLineCount(), 1u);
}

TEST(HexReader, LowerCaseDigitsGiveTheSameImage) {
    const std::string upper = linearBase(0) + dataRecord(0x2FF0, {0xAB, 0xCD, 0xEF, 0xFF}) +
                              dataRecord(0x3000, counting(16, 0xF0)) + kEndRecord;
    const auto a = load(upper);
    const auto b = load(lowerCase(upper));
    EXPECT_EQ(a.image, b.image);
    EXPECT_EQ(b.image.entry(768, 1), "AB");
    EXPECT_EQ(b.image.filledLineCount(), 2u);
}

TEST(HexReader, ExtendedAddressRecordsAreApplied) {
    // Linear base 0x10000: data above 0xFFFF is never folded into the application area.
    auto file = load(linearBase(1) + dataRecord(0x2000, counting(16)) + linearBase(0) +
                     dataRecord(0x2010, {0x55}) + kEndRecord);
    EXPECT_EQ(file.image.byteAt(0x2000), 0xFF);
    EXPECT_EQ(file.image.byteAt(0x2010), 0x55);
    EXPECT_EQ(file.bytesLeftOut, 16u);

    // Segment 0x0100 is 0x1000 bytes up; segment addresses wrap within their 64 KiB.
    file = load(segmentBase(0x0100) + dataRecord(0x1000, {0x11}) + segmentBase(0x0200) +
                dataRecord(0xFFF8, counting(16, 0x80)) + kEndRecord);
    EXPECT_EQ(file.image.byteAt(0x2000), 0x88);
    EXPECT_EQ(file.image.byteAt(0x2007), 0x8F);
    EXPECT_EQ(file.bytesLeftOut, 8u);
    // The first record's byte at 0x2000 was overwritten by the wrapped one.
    file = load(segmentBase(0x0100) + dataRecord(0x1000, {0x11}) + kEndRecord);
    EXPECT_EQ(file.image.byteAt(0x2000), 0x11);
}

// Files from a writer of their own, in both cases and with and without address records,
// against a plain reading of Intel HEX for 0x2000-0x5FFF.
TEST(HexReader, RandomFilesMatchAPlainReading) {
    std::mt19937 random(8);
    for (int round = 0; round < 16; ++round) {
        std::map<std::uint32_t, std::uint8_t> expected;
        std::string text;
        std::uint32_t base = 0;
        for (int r = 0; r < 60; ++r) {
            if (random() % 8 == 0) {
                base = (random() % 3 == 0) ? 0x10000u : 0u;
                text += linearBase(static_cast<std::uint16_t>(base >> 16));
            }
            const auto address = static_cast<std::uint16_t>(0x1F00 + random() % 0x4200);
            std::vector<std::uint8_t> data(1 + random() % 32);
            for (auto& b : data)
                b = static_cast<std::uint8_t>(random());
            text += dataRecord(address, data);
            for (std::size_t k = 0; k < data.size(); ++k) {
                const std::uint32_t at = base + address + static_cast<std::uint32_t>(k);
                if (at >= 0x2000 && at < 0x6000) expected[at] = data[k];
            }
        }
        text += kEndRecord;
        if (round % 2) text = lowerCase(text);
        const auto file = load(text);
        for (std::uint32_t at = 0; at < 0x6000; ++at) {
            const auto it = expected.find(at);
            ASSERT_EQ(file.image.byteAt(at), it == expected.end() ? 0xFF : it->second)
                << "round " << round << " address " << at;
        }
    }
}

struct Malformed {
    const char* what;
    std::string text;
    int record;
    int line;
    const char* reason;
};

TEST(HexReader, MalformedFilesAreRefusedNamingRecordAndLine) {
    const std::string good = dataRecord(0x2000, counting(16));
    std::string badChecksum = dataRecord(0x2010, counting(16));
    char& last = badChecksum[badChecksum.size() - 3];
    last = last == '0' ? '1' : '0';
    std::string badDigit = good;
    badDigit[12] = 'G';
    const std::vector<Malformed> cases{
        {"checksum", good + badChecksum + kEndRecord, 2, 2, "checksum"},
        {"digit", badDigit + kEndRecord, 1, 1, "'G' is not a hexadecimal digit"},
        {"cut at the end", good + good.substr(0, 20), 2, 2, "cut short at the end"},
        {"count past the line", ":1020000000\r\n" + kEndRecord, 1, 1,
         "byte count 16 runs past the end of the line"},
        {"after checksum", hexRecord(0x2000, 0, {1}) + "00\r\n" + kEndRecord, 1, 1,
         "after the checksum"},
        {"unknown type", good + hexRecord(0, 0x06, {}) + "\r\n" + kEndRecord, 2, 2,
         "unknown record type 06"},
        {"no end record", good + "\n" + good, 2, 3, "no end-of-file record"},
        {"address record length", hexRecord(0, 0x04, {0}) + "\n" + kEndRecord, 1, 1,
         "byte count 1 instead of 2"},
        {"lone CR line ends", good + "\r" + badChecksum, 2, 3, "checksum"},
    };
    for (const auto& c : cases) {
        const auto result = readIntelHex(c.text);
        const auto* error = std::get_if<HexError>(&result);
        ASSERT_NE(error, nullptr) << c.what;
        EXPECT_EQ(error->record, c.record) << c.what;
        EXPECT_EQ(error->line, c.line) << c.what;
        EXPECT_NE(error->reason.find(c.reason), std::string::npos)
            << c.what << ": " << error->reason;
    }
}

TEST(HexReader, TextBeforeTheFirstRecordIsPassedOverButContentWithoutAnyRecordIsNoHexFile) {
    const std::string records = dataRecord(0x2000, counting(16, 0xA0)) + kEndRecord;
    for (const std::string& prefix :
         {std::string("\xEF\xBB\xBF"), std::string("generated 2024-05-01 by the build\r\n"),
          std::string("\xEF\xBB\xBF  [firmware]\n"), std::string("; build: 7, target: ZT\r\n")}) {
        const auto file = load(prefix + records);
        EXPECT_EQ(file.records, 2) << prefix;
        EXPECT_EQ(file.image.entry(513, 1), "A0") << prefix;
        EXPECT_TRUE(firmware::looksLikeIntelHex(prefix + records)) << prefix;
    }
    // A damaged record after such a preamble is still refused, with its own line.
    const auto damaged =
        std::get<HexError>(readIntelHex("\xEF\xBB\xBF"
                                        "comment\r\n" +
                                        records.substr(0, 20) + "G\r\n" + kEndRecord));
    EXPECT_EQ(damaged.line, 2);
    EXPECT_FALSE(damaged.notHex);

    for (const std::string text :
         {"no records here\r\n", "\xEF\xBB\xBF[Orvane]\r\n", "Orvane settings file version:\r\n"}) {
        const auto result = readIntelHex(text);
        const auto* error = std::get_if<HexError>(&result);
        ASSERT_NE(error, nullptr) << text;
        EXPECT_TRUE(error->notHex);
        EXPECT_EQ(error->describe(),
                  "it is not an Intel HEX file (no line begins with the record mark \":\")");
    }
    EXPECT_FALSE(firmware::looksLikeIntelHex(std::string("\x01\x9C\x00:", 4)));
    // Blank lines before the first record are no content; a blank file holds no records.
    EXPECT_EQ(load(" \r\n\t" + kEndRecord).records, 1);
    EXPECT_EQ(load(" \r\n").records, 0);
}

} // namespace
} // namespace orvane::test
