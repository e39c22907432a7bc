#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "config/core/settings_file.h"
#include "config/core/settings_items.h"

namespace orvane::config {
namespace {

// A configuration with a different value in every item.
ConfigurationSnapshot sample() {
    ConfigurationSnapshot s;
    s.axisChannel = {3, 4, 1, 2, 5, 6, 7, 8};
    s.buttonThreshold = {162, 0, 255, 95, 1, 2, 3, 4};
    s.buttonChannel = {5, 6, 7, 8, 5, 6, 7, 8};
    s.axisInvert = {true, false, true, false, false, false, true, false};
    s.buttonInvert = {false, false, false, false, true, true, true, true};
    s.buttonActive = {true, true, false, true, true, true, true, false};
    for (int i = 0; i < kMixerCount; ++i) {
        s.mixers[MixerField::Assignment][i] = static_cast<std::int16_t>(0x27 + i);
        s.mixers[MixerField::Neutral][i] = static_cast<std::int16_t>(10 * i);
        s.mixers[MixerField::Factor][i] = static_cast<std::int16_t>(255 - i);
        s.mixers[MixerField::Exponent][i] = static_cast<std::int16_t>(i);
        s.mixers[MixerField::FactorQ][i] = static_cast<std::int16_t>(128 + i);
        s.mixers[MixerField::ExponentQ][i] = static_cast<std::int16_t>(200 + i);
    }
    s.option = {false, true};
    s.decodingMode = 1;
    return s;
}

std::vector<std::string> splitCrLf(const std::string& data) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos; (pos = data.find("\r\n", start)) != std::string::npos; start = pos + 2) {
        lines.push_back(data.substr(start, pos - start));
    }
    EXPECT_EQ(start, data.size()) << "text after the last CR LF";
    return lines;
}

// A settings file as an independent writer produces it: lines joined with CR LF.
std::string fileOf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

// The 200 lines of sample(), written by hand from the format's table.
std::vector<std::string> sampleLines(const std::string& version = "2.3.55",
                                     const std::string& annotation = "") {
    std::vector<std::string> l = {"Orvane settings file version:", version, "Annotations",
                                  annotation};
    const auto group = [&](const char* label, std::vector<std::string> values) {
        for (const auto& v : values) {
            l.push_back(label);
            l.push_back(v);
        }
    };
    group("Slider1", {" 3 ", " 4 ", " 1 ", " 2 ", " 5 ", " 6 ", " 7 ", " 8 "});
    group("Slider2", {" 162 ", " 0 ", " 255 ", " 95 ", " 1 ", " 2 ", " 3 ", " 4 "});
    group("Slider3", {" 5 ", " 6 ", " 7 ", " 8 ", " 5 ", " 6 ", " 7 ", " 8 "});
    group("Check1", {" 1 ", " 0 ", " 1 ", " 0 ", " 0 ", " 0 ", " 1 ", " 0 "});
    group("Check2", {" 0 ", " 0 ", " 0 ", " 0 ", " 1 ", " 1 ", " 1 ", " 1 "});
    group("Check3", {" 1 ", " 1 ", " 0 ", " 1 ", " 1 ", " 1 ", " 1 ", " 0 "});
    group("mixerAssignment", {" 39 ", " 40 ", " 41 ", " 42 ", " 43 ", " 44 ", " 45 ", " 46 "});
    group("neutral", {" 0 ", " 10 ", " 20 ", " 30 ", " 40 ", " 50 ", " 60 ", " 70 "});
    group("factor", {" 255 ", " 254 ", " 253 ", " 252 ", " 251 ", " 250 ", " 249 ", " 248 "});
    group("exponent", {" 0 ", " 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 ", " 7 "});
    group("Option1", {" 0 ", " 1 "});
    group("factorQ", {" 128 ", " 129 ", " 130 ", " 131 ", " 132 ", " 133 ", " 134 ", " 135 "});
    group("exponentQ", {" 200 ", " 201 ", " 202 ", " 203 ", " 204 ", " 205 ", " 206 ", " 207 "});
    return l;
}

TEST(SettingsWriter, WritesTheTwoHundredLinesByteForByte) {
    const std::string data = writeSettingsFile(sample(), "");
    EXPECT_EQ(splitCrLf(data).size(), 200u);
    EXPECT_EQ(data, fileOf(sampleLines()));
}

TEST(SettingsWriter, NegativeValuesHaveNoLeadingBlank) {
    ConfigurationSnapshot s;
    s.mixers[MixerField::Neutral][0] = -5;
    const auto lines = splitCrLf(writeSettingsFile(s, ""));
    EXPECT_EQ(lines[116], "neutral");
    EXPECT_EQ(lines[117], "-5 ");
}

TEST(SettingsWriter, AnnotationIsEncodedAndQuotedOnlyWhenTheReaderWouldCutIt) {
    EXPECT_EQ(splitCrLf(writeSettingsFile({}, "Grüße"))[3], "Gr\xFC\xDF"
                                                            "e");
    EXPECT_EQ(splitCrLf(writeSettingsFile({}, "say \"hi\""))[3], "say \"hi\"");
    EXPECT_EQ(splitCrLf(writeSettingsFile({}, "a, b"))[3], "\"a, b\"");
    EXPECT_EQ(splitCrLf(writeSettingsFile({}, "  indented"))[3], "\"  indented\"");
    // A line break inside would shift every later line.
    EXPECT_EQ(splitCrLf(writeSettingsFile({}, "one\r\ntwo")).size(), 200u);
}

TEST(SettingsReader, WhatWasWrittenReadsBackUnchanged) {
    for (const std::string annotation : {"", "Grüße, € and \"quotes\"", "  leading", "plain"}) {
        const SettingsLoad load = readSettingsFile(writeSettingsFile(sample(), annotation),
                                                   ConfigurationSnapshot{}, "old");
        EXPECT_FALSE(load.failureMessage) << annotation;
        EXPECT_EQ(load.items, sample());
        EXPECT_EQ(load.fileVersion, "2.3.55");
        // Quotes inside a quoted annotation cannot be read back; they become apostrophes.
        std::string expected = annotation;
        if (expected.find(',') != std::string::npos)
            for (char& c : expected)
                if (c == '"') c = '\'';
        EXPECT_EQ(load.annotations, expected);
    }
}

TEST(SettingsReader, ItemsMayBeQuotedRelabelledAndUseBareLineFeeds) {
    auto lines = sampleLines("\"2.3.55\"", "\"note, with comma\"");
    for (std::size_t i = 4; i < lines.size(); i += 2)
        lines[i] = "anything " + std::to_string(i);
    lines[5] = "\"3\"";             // quoted value
    lines[7] = "  4 , extra";       // text after a comma belongs to the next item...
    lines.erase(lines.begin() + 8); // ...which takes the place of the following label
    std::string data;
    for (const auto& line : lines)
        data += line + "\n";

    const SettingsLoad load = readSettingsFile(data, ConfigurationSnapshot{}, "");
    EXPECT_FALSE(load.failureMessage) << *load.failureMessage;
    EXPECT_EQ(load.items, sample());
    EXPECT_EQ(load.annotations, "note, with comma");
    EXPECT_EQ(load.fileVersion, "2.3.55");
}

// Quoted or not, a value reads the same; a tab is text, and an annotation keeps it.
TEST(SettingsReader, QuotedValuesWithBlanksReadLikeBareOnesAndTabsStayInTheAnnotation) {
    auto lines = sampleLines("2.3.55", "\tindented note");
    lines[5] = "\" 2 \"";
    lines[7] = " 2 ";
    lines[9] = "\t3";
    const SettingsLoad load = readSettingsFile(fileOf(lines), ConfigurationSnapshot{}, "");
    EXPECT_FALSE(load.failureMessage) << *load.failureMessage;
    EXPECT_EQ(load.items.axisChannel[0], 2);
    EXPECT_EQ(load.items.axisChannel[1], 2);
    EXPECT_EQ(load.items.axisChannel[2], 3);
    EXPECT_EQ(load.annotations, "\tindented note");
    EXPECT_EQ(readSettingsFile(writeSettingsFile(load.items, load.annotations),
                               ConfigurationSnapshot{}, "")
                  .annotations,
              "\tindented note");
}

TEST(SettingsReader, AnnotationWithACommaStopsAtTheNextValue) {
    const auto lines = sampleLines("2.3.55", "before, after");
    ConfigurationSnapshot current;
    current.axisChannel[0] = 7;
    const SettingsLoad load = readSettingsFile(fileOf(lines), current, "");
    EXPECT_EQ(load.annotations, "before");
    EXPECT_EQ(load.failureMessage, "File Read Error\r\nSettings may be restored incompletely");
    EXPECT_EQ(load.items, current);
}

TEST(SettingsReader, AFileCutShortKeepsWhatItDidNotReach) {
    auto lines = sampleLines();
    lines.resize(100);
    ConfigurationSnapshot current;
    current.mixers[MixerField::Neutral][3] = 99;
    current.option = {true, false};
    const SettingsLoad load = readSettingsFile(fileOf(lines), current, "");
    EXPECT_EQ(load.failureMessage, "File Read Error\r\nSettings may be restored incompletely");
    ConfigurationSnapshot expected = sample();
    expected.mixers = current.mixers;
    expected.option = current.option;
    expected.decodingMode = current.decodingMode;
    EXPECT_EQ(load.items, expected);
}

TEST(SettingsReader, StopsAtTheFirstValueOutsideItsRange) {
    ConfigurationSnapshot current;
    current.axisChannel = {2, 2, 2, 2, 2, 2, 2, 2};
    const auto failsAt = [&](std::size_t line, const std::string& value) {
        auto lines = sampleLines();
        lines[line] = value;
        return readSettingsFile(fileOf(lines), current, "");
    };
    const SettingsLoad first = failsAt(5, " 9 ");
    EXPECT_TRUE(first.failureMessage);
    EXPECT_EQ(first.items, current);

    // Everything before the bad item stays read: here Slider1 (all) and Slider2 0..2.
    const SettingsLoad threshold = failsAt(20 + 2 * 3 + 1, " 256 ");
    EXPECT_EQ(threshold.items.axisChannel, sample().axisChannel);
    EXPECT_EQ(threshold.items.buttonThreshold[2], 255);
    EXPECT_EQ(threshold.items.buttonThreshold[3], 0);

    for (const auto& [line, value] :
         std::vector<std::pair<std::size_t, std::string>>{{5, " 0 "},
                                                          {53, " 2 "},
                                                          {53, "-1"},
                                                          {5, " 2.5 "},
                                                          {5, ""},
                                                          {5, "two"},
                                                          {101, " 40000 "},
                                                          {101, " 99999999999 "},
                                                          {165, " x "}}) {
        EXPECT_TRUE(failsAt(line, value).failureMessage) << line << " '" << value << "'";
    }
    // Mixer entries take any 16-bit value.
    const SettingsLoad mixer = failsAt(117, "-300");
    EXPECT_FALSE(mixer.failureMessage);
    EXPECT_EQ(mixer.items.mixers[MixerField::Neutral][0], -300);
}

TEST(SettingsReader, FailureNamesADifferentVersion) {
    auto lines = sampleLines("2.2.40");
    lines[5] = " 9 ";
    EXPECT_EQ(readSettingsFile(fileOf(lines), {}, "").failureMessage,
              "File is from different Orvane version 2.2.40\r\nSettings may be restored "
              "incompletely");
    // The same version with another revision is no different version.
    lines[1] = "2.3.1";
    EXPECT_EQ(readSettingsFile(fileOf(lines), {}, "").failureMessage,
              "File Read Error\r\nSettings may be restored incompletely");
    // A file from another version that reads completely shows nothing.
    EXPECT_FALSE(readSettingsFile(fileOf(sampleLines("2.2.40")), {}, "").failureMessage);
}

TEST(SettingsReader, AFileThatCouldNotBeReadComparesAnEmptyVersion) {
    const std::string message =
        "File is from different Orvane version \r\nSettings may be restored incompletely";
    EXPECT_EQ(readSettingsFile(std::nullopt, {}, "kept").failureMessage, message);
    EXPECT_EQ(readSettingsFile(std::nullopt, {}, "kept").annotations, "kept");
    EXPECT_EQ(readSettingsFile(std::string_view(""), {}, "").failureMessage, message);
}

TEST(SettingsReader, OptionValuesSelectAtMostOneButton) {
    struct Case {
        const char* first;
        const char* second;
        std::array<bool, 2> option;
        int mode;
    };
    for (const Case& c :
         {Case{" 1 ", " 0 ", {true, false}, 0}, Case{" 0 ", " 1 ", {false, true}, 1},
          Case{" 1 ", " 1 ", {false, true}, 1}, Case{" 0 ", " 0 ", {false, false}, 7},
          Case{" 5 ", " 0 ", {false, false}, 7}}) {
        auto lines = sampleLines();
        lines[165] = c.first;
        lines[167] = c.second;
        ConfigurationSnapshot current;
        current.option = {true, true};
        current.decodingMode = 7; // whatever was there stays when nothing is selected
        const SettingsLoad load = readSettingsFile(fileOf(lines), current, "");
        EXPECT_EQ(load.items.option, c.option) << c.first << c.second;
        EXPECT_EQ(load.items.decodingMode, c.mode) << c.first << c.second;
    }
}

TEST(SettingsReader, AnnotationWrittenOnWindowsDecodesToUtf8) {
    const SettingsLoad load = readSettingsFile(fileOf(sampleLines("2.3.55", "F\xFC"
                                                                            "r Modell \x84"
                                                                            "Fox\x93 \x80")),
                                               {}, "");
    EXPECT_FALSE(load.failureMessage);
    EXPECT_EQ(load.annotations, "Für Modell „Fox“ €");
}

TEST(SettingsItems, ReaderSplitsAtCommasLineEndsAndQuotes) {
    SettingsItemReader r("  a b ,c\r\n\"q,1\"  tail, next\n\r\n\"open\nlast");
    std::vector<std::string> items;
    while (auto item = r.next())
        items.emplace_back(*item);
    EXPECT_EQ(items, (std::vector<std::string>{"a b ", "c", "q,1", "next", "", "open", "last"}));
}

TEST(SettingsItems, ValueItemsAreWholeNumbers) {
    EXPECT_EQ(parseValueItem(" 162 "), 162); // a quoted value keeps the blanks it was written with
    EXPECT_EQ(parseValueItem("\t162\t"), 162);
    EXPECT_EQ(parseValueItem("162 "), 162);
    EXPECT_EQ(parseValueItem("-5 "), -5);
    EXPECT_EQ(parseValueItem("+5"), 5);
    EXPECT_EQ(parseValueItem(""), std::nullopt);
    EXPECT_EQ(parseValueItem("-"), std::nullopt);
    EXPECT_EQ(parseValueItem("1e2"), std::nullopt);
    EXPECT_EQ(parseValueItem("1 2"), std::nullopt);
    EXPECT_EQ(parseValueItem("0000000000162 "), 162);
    EXPECT_EQ(parseValueItem("-00000000000005"), -5);
    EXPECT_EQ(parseValueItem("0"), 0);
    EXPECT_EQ(parseValueItem("9999999999"), std::nullopt);
}

} // namespace
} // namespace orvane::config
