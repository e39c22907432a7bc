// The firmware dialog against a scripted boot loader: detection through the host's list,
// the confirmation boxes, and how a failed exchange, a close or a click during an
// operation are handled.
#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "common/temporary_folder.h"
#include "fake_boot_loader.h"
#include "firmware/Dialog.h"
#include "hex_text.h"
#include "shell/app_context.h"
#include "shell/boot_loader_locator.h"
#include "shell/device_table.h"
#include "shell/event_log.h"
#include "ui/fake_app_services.h"
#include "ui/fake_tavrel_api.h"
#include "ui/fake_ui_services.h"

namespace orvane::test {
namespace {

// A device list with the given product ids; opening gives 22/22.
class ListHost : public BootLoaderLocator {
public:
    std::vector<std::string> productIds;
    std::vector<int> opened; // slots handed to openDevice
    int inputLength = 22;

    std::optional<int> findDevice(long productId) override {
        for (std::size_t i = 0; i < productIds.size(); ++i)
            if (tableNumber(productIds[i]) == productId) return static_cast<int>(i);
        return std::nullopt;
    }
    std::optional<DeviceValues> openDevice(int slot) override {
        opened.push_back(slot);
        DeviceValues v;
        v.productId = 25611;
        v.inputReportLen = inputLength;
        v.outputReportLen = 22;
        return v;
    }
};

struct FirmwareUpdate : ::testing::Test {
    Language language;
    FakeTavrelApi tavrel;
    FakeUiServices ui;
    FakeOsInfo os;
    std::vector<LoggedEntry> entries;
    EventLog log{ui, [] { return std::string(); }};
    FakeClock clock;
    FakeReportPort port{clock, 22, 22};
    FakeBootLoader device{port};
    AppContext context{language, tavrel, ui, os, log, port, clock};
    ListHost host;
    TemporaryFolder folder;
    std::unique_ptr<Dialog> dialog;

    void SetUp() override {
        log.start(std::make_unique<MemoryLogSink>(entries));
        dialog = std::make_unique<Dialog>(context, host);
        dialog->setRandomSeed(11);
        host.productIds = {"1234", "25611"};
        dialog->Timer1().start();
        dialog->updateLocalization();
        dialog->show();
    }
    std::string console() const {
        return dialog->findChild<QPlainTextEdit*>("Console")->toPlainText().toStdString();
    }
    bool enabled(const char* name) const {
        return dialog->findChild<QAbstractButton*>(name)->isEnabled();
    }
    // Loads a file that fills the whole application area.
    void loadFullImage() {
        std::string text;
        for (uint32_t a = 0x2000; a < 0x6000; a += 16)
            text +=
                dataRecord(static_cast<uint16_t>(a), counting(16, static_cast<uint8_t>(a >> 4)));
        ui.openNames.push_back(folder.write("full.hex", text + kEndRecord));
        dialog->open_Command_Click();
        ASSERT_EQ(dialog->memoryImage().filledLineCount(), 1024u);
    }
    bool flashHoldsImage() const {
        for (uint32_t a = 0x2000; a < 0x6000; ++a)
            if (device.flash[a] != dialog->memoryImage().byteAt(a)) return false;
        return true;
    }
    std::size_t logged(const std::string& text) const {
        return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), [&](auto& e) {
            return e.text.find(text) != std::string::npos;
        }));
    }
};

TEST_F(FirmwareUpdate, DetectionGreetsTheFirstBootLoaderOfTheList) {
    host.productIds = {"1234", " 25611", "25611"};
    dialog->Timer1_Timer();
    EXPECT_EQ(host.opened, std::vector<int>{1});
    EXPECT_FALSE(dialog->Timer1().isActive());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Bootloader online");
    EXPECT_EQ(console(), "Bootloader ver 01.05 found\n");
    EXPECT_TRUE(enabled("open_Command") && enabled("reset_Command") && enabled("led_Command"));
    EXPECT_FALSE(enabled("erase_Command") || enabled("program_Command") ||
                 enabled("verify_Command"));
    ASSERT_EQ(device.plainRequests.size(), 2u); // probe and start
    EXPECT_EQ(device.plainRequests[1][1], 0xFE);
    EXPECT_EQ(dialog->link().cipher.sendChain(), port.written.back()[21]);
}

TEST_F(FirmwareUpdate, ProbeWithoutAnswerShowsNoVersionAndSearchesAgain) {
    device.lostAnswers.insert(0);
    dialog->Timer1_Timer();
    EXPECT_EQ(console().find("Bootloader ver"), std::string::npos);
    EXPECT_NE(console().find("Bootloader wurde gefunden, aber keine g\u00fcltige Antwort gelesen.\n"
                             "InputReportLen=22, OutputReportLen=22\nReadBuffer='"),
              std::string::npos);
    EXPECT_TRUE(dialog->Timer1().isActive());
    EXPECT_FALSE(enabled("open_Command"));
    dialog->Timer1_Timer(); // the next tick probes again and succeeds
    EXPECT_EQ(console(), "Bootloader ver 01.05 found\n");
}

TEST_F(FirmwareUpdate, UnopenedDeviceShowsZeroLengths) {
    host.inputLength = 0;
    dialog->Timer1_Timer();
    EXPECT_NE(console().find("InputReportLen=0, OutputReportLen=22"), std::string::npos);
    EXPECT_TRUE(dialog->Timer1().isActive());
}

TEST_F(FirmwareUpdate, EraseAsksFirstAndNoStopsIt) {
    dialog->Timer1_Timer();
    loadFullImage();
    ui.answers = {MessageResult::No};
    dialog->erase_Command_Click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "The USB-Interface firmware will be erased!");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(device.plainRequests.size(), 2u);
    EXPECT_EQ(logged("exiting Dialog.erase_Command_Click()"), 0u);

    dialog->erase_Command_Click();
    EXPECT_EQ(device.plainRequests.size(), 2u + 256u);
    EXPECT_EQ(logged("entering Dialog.eraseMemory()"), 1u);
    EXPECT_EQ(logged("exiting Dialog.erase_Command_Click()"), 1u);
    for (const char* name : {"open_Command", "program_Command", "erase_Command", "verify_Command",
                             "reset_Command", "led_Command"})
        EXPECT_TRUE(enabled(name)) << name;
}

TEST_F(FirmwareUpdate, LostAnswerStopsProgramAndDetectionLeadsToAFullUpdate) {
    dialog->Timer1_Timer();
    loadFullImage();
    dialog->erase_Command_Click();
    device.lostAnswers.insert(device.plainRequests.size() + 500);
    dialog->program_Command_Click();
    std::string text = console();
    EXPECT_NE(text.find("Program stopped at address (low Endian): 0x"), std::string::npos);
    EXPECT_EQ(text.find("ok.", text.find("uploading... ")), std::string::npos);
    EXPECT_TRUE(dialog->Timer1().isActive());
    EXPECT_FALSE(enabled("erase_Command") || enabled("program_Command") || enabled("open_Command"));

    dialog->Timer1_Timer(); // re-probes: both sides start at C6 again
    EXPECT_TRUE(enabled("erase_Command") && enabled("program_Command") &&
                enabled("verify_Command"));
    // The greeting keeps the failure and says what the flash may hold.
    text = console();
    EXPECT_EQ(text.find("Bootloader ver 01.05 found\nProgram stopped at address (low Endian): "
                        "0x"),
              0u)
        << text;
    EXPECT_NE(text.find("\nThe application area may be partly programmed: run Erase, Program "
                        "and Verify again before resetting.\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(dialog->flashState(), firmware::FlashState::PartlyProgrammed);
    dialog->erase_Command_Click();
    dialog->program_Command_Click();
    dialog->verify_Command_Click();
    EXPECT_NE(console().find("erasing... ok.\nuploading... ok.\nverifying... ok.\n"),
              std::string::npos);
    EXPECT_TRUE(flashHoldsImage());
    EXPECT_EQ(dialog->flashState(), firmware::FlashState::AsIntended);
}

TEST_F(FirmwareUpdate, BareAnswersBringItOnlineAndThroughAFullUpdate) {
    device.bare = true; // nothing echoed: the start answer's byte 1 is 0, not FE
    dialog->Timer1_Timer();
    EXPECT_FALSE(dialog->Timer1().isActive());
    EXPECT_EQ(console(), "Bootloader ver 01.05 found\n");
    loadFullImage();
    dialog->erase_Command_Click();
    dialog->program_Command_Click();
    dialog->verify_Command_Click();
    EXPECT_NE(console().find("erasing... ok.\nuploading... ok.\nverifying... ok.\n"),
              std::string::npos)
        << console();
    EXPECT_TRUE(flashHoldsImage());
}

TEST_F(FirmwareUpdate, CloseAndClicksDuringAnOperationWaitForItsEnd) {
    dialog->Timer1_Timer();
    loadFullImage();
    std::size_t requests = 0;
    bool busyInside = false;
    auto answer = port.onRequest;
    port.onRequest = [&](FakeReportPort& p, const Report& r) {
        answer(p, r);
        if (++requests != 100) return;
        busyInside = dialog->operationRunning();
        dialog->close(); // the window manager's close
        dialog->findChild<QAbstractButton*>("CancelButton")->click();
        dialog->findChild<QAbstractButton*>("erase_Command")->click();
    };
    dialog->erase_Command_Click();
    EXPECT_TRUE(busyInside);
    EXPECT_EQ(requests, 256u); // the erase ran to its end and nothing else ran
    EXPECT_NE(console().find("erasing... ok."), std::string::npos);
    EXPECT_FALSE(dialog->isVisible()); // closed afterwards
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(FirmwareUpdate, ResetClosesTheDialogEvenWithoutAnswer) {
    dialog->Timer1_Timer();
    device.lostAnswers.insert(device.plainRequests.size());
    dialog->reset_Command_Click();
    EXPECT_EQ(device.plainRequests.back()[1], 0xFF);
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
} // namespace orvane::test
