// The firmware dialog's Open button: plain and enciphered files into the memory image, the
// "encrypt.me" path, and refused files that leave image and buttons as they were.
#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

#include "common/temporary_folder.h"
#include "firmware/Dialog.h"
#include "hex_text.h"
#include "shell/app_context.h"
#include "shell/boot_loader_locator.h"
#include "shell/event_log.h"
#include "testreport/fake_report_port.h"
#include "ui/fake_app_services.h"
#include "ui/fake_tavrel_api.h"
#include "ui/fake_ui_services.h"

namespace orvane::test {
namespace {

class NoHost : public BootLoaderLocator {
public:
    std::optional<int> findDevice(long) override { return std::nullopt; }
    std::optional<DeviceValues> openDevice(int) override { return std::nullopt; }
};

class FirmwareOpen : public ::testing::Test {
protected:
    Language language;
    FakeTavrelApi tavrel;
    FakeUiServices ui;
    FakeOsInfo os;
    std::vector<LoggedEntry> entries;
    EventLog log{ui, [] { return std::string(); }};
    FakeClock clock;
    FakeReportPort port{clock, 22, 22};
    AppContext context{language, tavrel, ui, os, log, port, clock};
    NoHost host;
    TemporaryFolder folder;
    std::unique_ptr<Dialog> dialog;
    const std::string threeRecords =
        linearBase(0) + dataRecord(0x2000, counting(16, 0x30)) + kEndRecord;

    void SetUp() override {
        log.start(std::make_unique<MemoryLogSink>(entries));
        dialog = std::make_unique<Dialog>(context, host);
    }

    void open(const std::string& path, int filter = 1) {
        ui.openNames.push_back(path);
        ui.openFilters.push_back(filter);
        dialog->open_Command_Click();
    }
    std::string console() const {
        return dialog->findChild<QPlainTextEdit*>("Console")->toPlainText().toStdString();
    }
    bool enabled(const char* name) const {
        return dialog->findChild<QAbstractButton*>(name)->isEnabled();
    }
    int progressMaximum() const {
        return dialog->findChild<QProgressBar*>("BL_ProgressBar")->maximum();
    }
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        for (const auto& e : entries)
            lines.push_back(e.text.substr(2)); // after the (empty) time stamp line
        return lines;
    }
    std::string lastMessage() const { return ui.messages.empty() ? "" : ui.messages.back().text; }
};

TEST_F(FirmwareOpen, ThreeRecordFileFillsOneLineAndEnablesTheUpdate) {
    const std::string path = folder.write("fw.hex", threeRecords);
    open(path);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].title,
              "Select a Firmware Download File in Intel Hex Format as Input");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Intel Hex File (*.hex);;Encypted Firmware (*.enc)");
    EXPECT_NE(console().find("parsing " + path + "...   3 lines ok.\n"), std::string::npos);
    EXPECT_EQ(progressMaximum(), 1);
    EXPECT_TRUE(enabled("erase_Command"));
    EXPECT_TRUE(enabled("verify_Command"));
    EXPECT_TRUE(enabled("program_Command"));
    EXPECT_EQ(dialog->memoryImage().entry(513, 1), "30");
    EXPECT_EQ(dialog->memoryImage().filledLineCount(), 1u);
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "entering Dialog.open_Command_Click()",
                              "passing Dialog.open_Command_Click() file opener",
                              "passing Dialog.open_Command_Click() memory initialization",
                              "passing Dialog.open_Command_Click() file parser",
                              "passing Dialog.open_Command_Click() progress bar preparation",
                              "exiting Dialog.open_Command_Click()"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FirmwareOpen, NothingInTheApplicationAreaDisablesVerifyAndProgram) {
    dialog->setButtonsEnabled(true);
    open(folder.write("boot.hex", dataRecord(0x1000, counting(16)) + kEndRecord));
    EXPECT_NE(console().find(" 2 lines, nothing parsed!\n 16 bytes outside 0x2000-0x5FFF left "
                             "out.\n"),
              std::string::npos);
    EXPECT_TRUE(enabled("erase_Command"));
    EXPECT_FALSE(enabled("verify_Command"));
    EXPECT_FALSE(enabled("program_Command"));
    EXPECT_NE(logLines().back(), "exiting Dialog.open_Command_Click()");
}

TEST_F(FirmwareOpen, CancelLogsOnlyTheEntryLine) {
    dialog->open_Command_Click();
    EXPECT_EQ(logLines(), std::vector<std::string>{"entering Dialog.open_Command_Click()"});
    EXPECT_EQ(console().find("parsing"), std::string::npos);
}

TEST_F(FirmwareOpen, MalformedOrOversizedFileLeavesImageAndButtons) {
    open(folder.write("good.hex", threeRecords));
    const auto image = dialog->memoryImage();
    std::string bad = linearBase(0) + dataRecord(0x3000, counting(16));
    bad[bad.size() - 3] = bad[bad.size() - 3] == '0' ? '1' : '0';
    dialog->findChild<QAbstractButton*>("program_Command")->setEnabled(false);

    open(folder.write("bad.hex", bad + kEndRecord));
    EXPECT_EQ(dialog->memoryImage(), image);
    EXPECT_NE(console().find("record 2 in line 2: checksum"), std::string::npos) << console();
    EXPECT_NE(lastMessage().find("record 2 in line 2"), std::string::npos);
    EXPECT_EQ(progressMaximum(), 1);
    EXPECT_FALSE(enabled("program_Command"));
    EXPECT_TRUE(enabled("verify_Command"));

    const std::string big = folder.write("big.hex", "");
    ASSERT_EQ(::truncate(big.c_str(), 5 * 1024 * 1024), 0);
    open(big);
    EXPECT_NE(lastMessage().find("larger than 4 MiB"), std::string::npos);
    EXPECT_EQ(dialog->memoryImage(), image);
}

TEST_F(FirmwareOpen, EncipheredFileLoadsTwiceAndAFlippedBitIsRefused) {
    open(folder.write("fw.hex", threeRecords));
    const auto plainImage = dialog->memoryImage();
    const std::string source = folder.write("my.encrypt.me.firmware.hex", threeRecords);
    dialog->findChild<QAbstractButton*>("erase_Command")->setEnabled(false);
    open(source);
    EXPECT_TRUE(console().ends_with("done")) << console();
    EXPECT_FALSE(enabled("erase_Command")); // the encipher path loads nothing
    const std::string enciphered = source + "_enc";
    ASSERT_TRUE(std::filesystem::exists(enciphered));

    for (int pass = 0; pass < 2; ++pass) {
        open(folder.write("empty.hex", kEndRecord)); // clears the image in between
        EXPECT_EQ(dialog->memoryImage().filledLineCount(), 0u);
        open(enciphered, 2);
        EXPECT_EQ(dialog->memoryImage(), plainImage) << "pass " << pass;
        EXPECT_TRUE(ui.messages.empty()) << lastMessage();
    }
    const auto lines = logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "exiting Dialog.DA()"), 2);

    std::string changed = readFile(enciphered);
    changed[changed.size() / 2] ^= 0x10;
    open(folder.write("changed.enc", changed), 2);
    EXPECT_NE(lastMessage().find("damaged or was enciphered with other keys"), std::string::npos);
    EXPECT_EQ(dialog->memoryImage(), plainImage);
}

TEST_F(FirmwareOpen, FilterThatDoesNotFitTheContentIsExplained) {
    open(folder.write("fw.encrypt.me", threeRecords));
    open(folder.file("fw.encrypt.me_enc"), 1);
    EXPECT_NE(lastMessage().find("is enciphered firmware; open it with the filter \"Encypted "
                                 "Firmware (*.enc)\""),
              std::string::npos);
    open(folder.write("plain.enc", threeRecords), 2);
    EXPECT_NE(lastMessage().find("is not enciphered firmware; open it with the filter \"Intel Hex "
                                 "File (*.hex)\""),
              std::string::npos);
    // Another program's enciphered file is no plain HEX file either: no filter helps.
    open(folder.write("foreign.enc", std::string("\x93\x1F\x00 other cipher", 16)), 2);
    EXPECT_NE(lastMessage().find("foreign.enc is not a firmware file enciphered by this program"),
              std::string::npos)
        << lastMessage();
    EXPECT_EQ(lastMessage().find("filter"), std::string::npos);
    EXPECT_EQ(dialog->memoryImage().filledLineCount(), 0u);
    EXPECT_FALSE(enabled("program_Command"));
}

TEST_F(FirmwareOpen, EncipheringIntoAReadOnlyFolderSaysWhy) {
    const std::string source = folder.write("fw.encrypt.me", threeRecords);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::owner_exec);
    open(source);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    EXPECT_NE(lastMessage().find("Cannot write " + source + "_enc: Permission denied"),
              std::string::npos)
        << lastMessage();
    EXPECT_EQ(console().find("done"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(source + "_enc"));
}

} // namespace
} // namespace orvane::test
