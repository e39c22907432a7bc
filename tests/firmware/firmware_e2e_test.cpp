// The program on the real libtavrel.so with an emulated boot loader: its firmware dialog
// enciphers a file and loads the enciphered twin into the same image as the plain file.
#include <QAbstractButton>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Form1.h"
#include "common/temporary_folder.h"
#include "device/tavrel_library.h"
#include "firmware/Dialog.h"
#include "hex_text.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

TEST(FirmwareEndToEnd, ProgramEnciphersAndLoadsFirmwareFiles) {
    setenv("TAVREL_EMULATOR", "loader", 1);
    FakeUiServices ui;
    FakeOsInfo os;
    FakeSystemLocale locale{"1"};
    FakeUrlOpener urls;
    TemporaryFolder logFolder;
    TemporaryFolder files;
    TavrelLibrary tavrel;
    Form1 form(Form1Services{tavrel, ui, os, locale, urls, logFolder.path(), {}, {}, [] {}});
    form.show();
    ASSERT_EQ(form.GetDevices(), 1);
    EXPECT_NE(form.getProductID(0).find("25611"), std::string::npos); // the boot loader

    const std::string text = linearBase(0) + dataRecord(0x4000, counting(16, 7)) +
                             dataRecord(0x4010, {1, 2, 3}) + kEndRecord;
    const std::string source = files.write("release.encrypt.me", lowerCase(text));
    std::vector<std::size_t> filled;
    std::vector<std::uint8_t> first;
    ui.onModal = [&](QDialog& window) {
        auto& dialog = static_cast<Dialog&>(window);
        ui.openNames = {source, source + "_enc", source + "_enc"};
        ui.openFilters = {1, 2, 2};
        for (int i = 0; i < 3; ++i) {
            dialog.open_Command_Click();
            filled.push_back(dialog.memoryImage().filledLineCount());
        }
        first.assign(dialog.memoryImage().line(1024).begin(),
                     dialog.memoryImage().line(1024).end());
    };
    form.OpenDev_Click(0);
    ASSERT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog"});
    EXPECT_EQ(filled, (std::vector<std::size_t>{0, 2, 2}));
    EXPECT_EQ(first, counting(16, 7));
    EXPECT_TRUE(ui.messages.empty());
    const auto log = logFileMessages(logFolder.path() / "events.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), "exiting Dialog.EncryptFile()"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "exiting Dialog.open_Command_Click()"), 2);
}

} // namespace
} // namespace orvane::test
