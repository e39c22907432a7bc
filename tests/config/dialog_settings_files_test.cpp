#include <fstream>
#include <sys/stat.h>
#include <vector>

#include "common/scoped_file_size_limit.h"
#include "common/temporary_folder.h"
#include "config/core/settings_file.h"
#include "dialog_fixture.h"

namespace orvane::test {
namespace {

namespace fs = std::filesystem;
using config::MixerField;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const fs::path& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

class SettingsFilesTest : public DialogTest {
protected:
    TemporaryFolder folder;
    fs::path file = folder.path() / "model.orv";

    void save(const fs::path& path) {
        ui.saveNames.push_back(path.string());
        click("Command26");
    }
    void load(const fs::path& path) {
        ui.openNames.push_back(path.string());
        click("Command25");
    }

    // Edits through the controls, so that every item differs from a fresh dialog.
    void editEverything() {
        click("bStickMode4");
        click("bRFG2");
        click("Command18");
        dialog->setButtonThreshold(7, 3);
        dialog->enableDecodingModeControls(true);
        click("Option1_1");
        dialog->enableMixerControls(true);
        for (int m = 1; m <= 8; ++m) {
            slider("Slider8")->setValue(m);
            slider("Slider4_0")->setValue(m);
            slider("Slider4_1")->setValue(9 - m);
            slider("Slider5")->setValue(m * 30);
            slider("Slider6")->setValue(-m * 15);
            slider("Slider7")->setValue(m);
            slider("Slider9")->setValue(m * 15);
            slider("Slider10")->setValue(255 - m);
        }
        slider("Slider8")->setValue(3);
    }
};

// A file as another program writes it, line by line.
std::string independentFile(const std::string& version, const std::string& annotation,
                            const std::vector<std::pair<std::string, std::vector<int>>>& groups) {
    std::string out =
        "Orvane settings file version:\r\n" + version + "\r\nAnnotations\r\n" + annotation + "\r\n";
    for (const auto& [label, values] : groups) {
        for (int v : values)
            out += label + "\r\n" + (v < 0 ? "" : " ") + std::to_string(v) + " \r\n";
    }
    return out;
}

const std::vector<std::pair<std::string, std::vector<int>>> kGroups = {
    {"Slider1", {8, 7, 6, 5, 4, 3, 2, 1}},
    {"Slider2", {10, 20, 30, 40, 50, 60, 70, 255}},
    {"Slider3", {2, 2, 2, 2, 3, 3, 3, 3}},
    {"Check1", {1, 1, 0, 0, 1, 1, 0, 0}},
    {"Check2", {0, 1, 0, 1, 0, 1, 0, 1}},
    {"Check3", {1, 0, 0, 0, 0, 0, 0, 1}},
    {"mixerAssignment", {0x27, 0, 0, 0, 0, 0, 0, 0x70}},
    {"neutral", {100, 0, 0, 0, 0, 0, 0, 1}},
    {"factor", {255, 0, 0, 0, 0, 0, 0, 2}},
    {"exponent", {5, 0, 0, 0, 0, 0, 0, 3}},
    {"Option1", {0, 1}},
    {"factorQ", {128, 0, 0, 0, 0, 0, 0, 4}},
    {"exponentQ", {6, 0, 0, 0, 0, 0, 0, 5}},
};

TEST_F(SettingsFilesTest, SaveThenLoadRestoresTheDialog) {
    editEverything();
    const config::ConfigurationSnapshot edited = dialog->snapshot();
    save(file);
    ASSERT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.fileDialogs.at(0).title, "Save Orvane Settings");
    EXPECT_EQ(ui.fileDialogs.at(0).filter, "Orvane Setting File (*.orv)");
    EXPECT_FALSE(ui.fileDialogs.at(0).confirmOverwrite);

    auto fresh = openDialog();
    dialog.swap(fresh);
    slider("Slider8")->setValue(3);
    load(file);
    EXPECT_EQ(ui.fileDialogs.at(1).title, "Open Orvane Settings");
    EXPECT_TRUE(ui.messages.empty()) << "no annotation, no failure";
    EXPECT_EQ(dialog->snapshot(), edited);
    EXPECT_EQ(dialog->currentMixer(), 2);
    EXPECT_EQ(slider("Slider5")->value(), 90);
    EXPECT_EQ(text("Text1_1"), "-45");
    EXPECT_EQ(slider("Slider4_1")->value(), 6);
}

// Each control goes to its own group of the file, whatever the reader makes of it.
TEST_F(SettingsFilesTest, SavedLinesHoldTheControlsOfTheirGroups) {
    click("bStickMode2");
    click("Command17");
    dialog->setAxisInvert(1, true);
    dialog->enableDecodingModeControls(true);
    click("Option1_1");
    dialog->enableMixerControls(true);
    slider("Slider8")->setValue(2);
    slider("Slider6")->setValue(-1);
    save(file);

    std::vector<std::string> lines;
    const std::string data = contents(file);
    for (std::size_t start = 0, end; (end = data.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(data.substr(start, end - start));
    ASSERT_EQ(lines.size(), 200u);
    EXPECT_EQ(data.size(), data.rfind("\r\n") + 2);
    const auto pair = [&](std::size_t line) { return lines[line - 1] + "|" + lines[line]; };
    EXPECT_EQ(pair(1), "Orvane settings file version:|2.3.55");
    EXPECT_EQ(pair(5), "Slider1| 3 ");
    EXPECT_EQ(pair(21), "Slider2| 162 ");
    EXPECT_EQ(pair(35), "Slider2| 95 ");
    EXPECT_EQ(pair(37), "Slider3| 5 ");
    EXPECT_EQ(pair(55), "Check1| 1 ");
    EXPECT_EQ(pair(77), "Check2| 1 ");
    EXPECT_EQ(pair(85), "Check3| 1 ");
    EXPECT_EQ(pair(135), "factor| 255 ");
    EXPECT_EQ(pair(165), "Option1| 0 ");
    EXPECT_EQ(pair(167), "Option1| 1 ");
    EXPECT_EQ(pair(199), "exponentQ| 0 ");
}

TEST_F(SettingsFilesTest, CancelledDialogsDoNothing) {
    editEverything();
    const auto before = dialog->snapshot();
    click("Command26");
    click("Command25");
    EXPECT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dialog->snapshot(), before);
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(SettingsFilesTest, LoadsAFileFromAnotherWriterAndShowsItsAnnotation) {
    write(file, independentFile("2.3.55",
                                "Trainer \xFC"
                                "ber Kabel \x80",
                                kGroups));
    load(file);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Trainer über Kabel €");
    EXPECT_EQ(ui.messages[0].title, "Orvane");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(dialog->annotations(), "Trainer über Kabel €");

    EXPECT_EQ(dialog->axisChannel(0), 8);
    EXPECT_EQ(dialog->axisChannel(7), 1);
    EXPECT_EQ(dialog->buttonThreshold(7), 255);
    EXPECT_EQ(dialog->buttonChannel(4), 3);
    EXPECT_TRUE(dialog->axisInvert(1));
    EXPECT_FALSE(dialog->axisInvert(2));
    EXPECT_TRUE(dialog->buttonInvert(7));
    EXPECT_TRUE(dialog->buttonActive(0));
    EXPECT_FALSE(dialog->buttonActive(1));
    EXPECT_TRUE(dialog->decodingOptionSelected(1));
    EXPECT_EQ(dialog->decodingMode(), 1);
    EXPECT_EQ(dialog->mixers()[MixerField::ExponentQ][7], 5);
    // The panel shows mixer 1 of the file.
    EXPECT_EQ(slider("Slider4_0")->value(), 3);
    EXPECT_EQ(slider("Slider4_1")->value(), 8);
    EXPECT_EQ(text("Text1_0"), "100");
    EXPECT_EQ(text("Text1_1"), "-1");
    EXPECT_EQ(text("Text1_3"), "-128");

    // The annotation goes out again in the file's own code page.
    save(file);
    EXPECT_NE(contents(file).find("\r\nTrainer \xFC"
                                  "ber Kabel \x80\r\n"),
              std::string::npos);
}

TEST_F(SettingsFilesTest, ABadItemStopsReadingAndTheRestKeepsItsValue) {
    auto groups = kGroups;
    groups[0].second[1] = 9; // second Slider1 value out of range
    write(file, independentFile("2.3.55", "", groups));
    dialog->setButtonThreshold(0, 77);
    dialog->setAxisChannel(1, 4);
    load(file);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "File Read Error\r\nSettings may be restored incompletely");
    EXPECT_EQ(ui.messages[0].title, "Orvane");
    EXPECT_EQ(dialog->axisChannel(0), 8);
    EXPECT_EQ(dialog->axisChannel(1), 4);
    EXPECT_EQ(dialog->buttonThreshold(0), 77);
}

// Files of another writer that go wrong part-way: what was read stays, the rest keeps its value.
TEST_F(SettingsFilesTest, ReadingStopsAtTheFirstBadItemOfAFileFromAnotherWriter) {
    const std::string readError = "File Read Error\r\nSettings may be restored incompletely";
    const auto prepare = [&] {
        dialog = openDialog();
        ui.messages.clear();
        for (int i = 0; i < 8; ++i)
            dialog->setAxisChannel(i, 2);
        dialog->setButtonThreshold(0, 77);
        dialog->mixers()[MixerField::Neutral][0] = 44;
        dialog->selectDecodingOption(0);
    };

    // The first Slider1 value is out of range: nothing after the annotation is taken.
    prepare();
    auto groups = kGroups;
    groups[0].second[0] = 9;
    write(file, independentFile("2.3.55", "", groups));
    load(file);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, readError);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(dialog->axisChannel(i), 2) << i;
    EXPECT_EQ(dialog->buttonThreshold(0), 77);
    EXPECT_EQ(dialog->mixers()[MixerField::Neutral][0], 44);
    EXPECT_EQ(text("Text1_0"), "44");

    // A file that ends after line 100: axes and buttons come in, mixers and mode stay.
    prepare();
    const std::string whole = independentFile("2.3.55", "", kGroups);
    std::size_t cut = 0;
    for (int line = 0; line < 100; ++line)
        cut = whole.find("\r\n", cut) + 2;
    write(file, whole.substr(0, cut));
    load(file);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, readError);
    EXPECT_EQ(dialog->axisChannel(0), 8);
    EXPECT_EQ(dialog->buttonThreshold(7), 255);
    EXPECT_TRUE(dialog->buttonActive(7));
    EXPECT_EQ(dialog->mixers()[MixerField::Neutral][0], 44);
    EXPECT_TRUE(dialog->decodingOptionSelected(0));
    EXPECT_EQ(dialog->decodingMode(), 0);

    // A comma in the annotation: the rest of its line is the next label, "Slider1" then fails
    // as a value, and the shortened annotation follows the message.
    prepare();
    write(file, independentFile("2.3.55", "before, after", kGroups));
    load(file);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, readError);
    EXPECT_EQ(ui.messages[1].text, "before");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::None);
    EXPECT_EQ(dialog->annotations(), "before");
    EXPECT_EQ(dialog->axisChannel(0), 2);
}

TEST_F(SettingsFilesTest, SavingOntoAWriteProtectedFileOrFolderKeepsTheOldFile) {
    write(file, "the old settings");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    save(file);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Permission denied");
    EXPECT_EQ(contents(file), "the old settings");

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    save(file);
    fs::permissions(folder.path(), fs::perms::owner_all);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Permission denied");
    EXPECT_EQ(contents(file), "the old settings");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST_F(SettingsFilesTest, AnOlderFileNamesItsVersionThenShowsItsAnnotation) {
    std::string data = independentFile("2.2.40", "note, more", kGroups);
    write(file, data);
    load(file);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "File is from different Orvane version 2.2.40\r\nSettings may be restored "
              "incompletely");
    EXPECT_EQ(ui.messages[1].text, "note");
}

TEST_F(SettingsFilesTest, AMissingFileReportsAndChangesNothing) {
    editEverything();
    const auto before = dialog->snapshot();
    load(folder.path() / "absent.orv");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "File is from different Orvane version \r\nSettings may be restored incompletely");
    EXPECT_EQ(dialog->snapshot(), before);
}

TEST_F(SettingsFilesTest, ANamedPipeIsRefusedLikeAnUnreadableFile) {
    const auto pipe = folder.path() / "x.orv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto before = dialog->snapshot();
    load(pipe);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "File is from different Orvane version \r\nSettings may be restored incompletely");
    EXPECT_EQ(dialog->snapshot(), before);
}

TEST_F(SettingsFilesTest, AFailedSaveShowsTheSystemsTextAndKeepsTheOldFile) {
    const fs::path plain = folder.path() / "plain";
    write(plain, "not a folder");
    save(plain / "x.orv");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Not a directory");
    EXPECT_EQ(ui.messages[0].title, "Orvane");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);

    write(file, "the old settings");
    {
        ScopedFileSizeLimit limit(100);
        save(file);
    }
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "File too large");
    EXPECT_EQ(contents(file), "the old settings");
}

TEST_F(SettingsFilesTest, StoredEntriesThePanelCannotShowAreSavedAsTheyWere) {
    auto groups = kGroups;
    groups[6].second[0] = 0x9A;
    groups[7].second[0] = 300;
    groups[8].second[0] = -7;
    write(file, independentFile("2.3.55", "", groups));
    load(file);
    // Loaded all the same, and named: no command can carry them to the interface.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The file holds values the interface cannot take: mixer 1 "
                                   "neutral 300, mixer 1 factor -7.\r\nTransmit to Interface "
                                   "will not send the commands that carry them.");
    EXPECT_EQ(slider("Slider5")->value(), 255);
    save(file);
    const std::string saved = contents(file);
    EXPECT_NE(saved.find("mixerAssignment\r\n 154 \r\n"), std::string::npos);
    EXPECT_NE(saved.find("neutral\r\n 300 \r\n"), std::string::npos);
    EXPECT_NE(saved.find("factor\r\n-7 \r\n"), std::string::npos);
}

// Replacing is never confirmed, so a name is taken exactly as typed: "club" must not
// replace "club.orv".
TEST_F(SettingsFilesTest, ANameIsSavedAsTyped) {
    write(folder.path() / "club.orv", "kept");
    save(folder.path() / "club");
    EXPECT_TRUE(config::hasSettingsHeader(contents(folder.path() / "club")));
    EXPECT_EQ(contents(folder.path() / "club.orv"), "kept");
}

// What was read from a file is not in the interface: the status and the title say so.
TEST_F(SettingsFilesTest, ValuesFromAFileAreMarkedAsNotInTheInterface) {
    write(file, independentFile("2.3.55", "", kGroups));
    load(file);
    EXPECT_EQ(dialog->statusText().toStdString(),
              "The values come from the file and are not in the interface yet; Transmit to "
              "Interface sends them.\r\n");
    EXPECT_TRUE(dialog->windowTitle().startsWith('*'));
}

TEST_F(SettingsFilesTest, AnEmptyAnnotationShowsNoBoxAndIsWrittenEmpty) {
    write(file, independentFile("2.3.55", "", kGroups));
    load(file);
    EXPECT_TRUE(ui.messages.empty());
    save(file);
    EXPECT_EQ(contents(file).substr(0, 52),
              "Orvane settings file version:\r\n2.3.55\r\nAnnotations\r\n");
    EXPECT_EQ(contents(file).substr(52, 11), "\r\nSlider1\r\n");
}

} // namespace
} // namespace orvane::test
