// The firmware update in the program on the real libtavrel.so against the emulated
// interface: detection, a full update read back through a link cipher of the test's own,
// reset into normal mode, and the faults: a lost answer, an unplug, a silent boot loader.
// With ORVANE_E2E_REAL_DEVICE=1 the full update meets the attached interface instead.
#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/Form1.h"
#include "app/device_monitor_choice.h"
#include "common/temporary_folder.h"
#include "device/tavrel_library.h"
#include "firmware/Dialog.h"
#include "hex_text.h"
#include "report/report_port.h"
#include "shell/localization.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

// The host side of the boot loader's link, written apart from the program's.
struct TestLink {
    uint8_t send = 0, receive = 0;
    uint8_t encode(uint8_t p) {
        send = static_cast<uint8_t>(((send ^ p) + 0x2B) ^ 0x5D);
        return send;
    }
    uint8_t decode(uint8_t c) {
        const auto p = static_cast<uint8_t>(((c ^ 0x5D) - 0x2B) ^ receive);
        receive = c;
        return p;
    }
    // One command of 22 bytes; the unscrambled answer, empty when none came.
    std::vector<uint8_t> exchange(report::ReportPort& port, std::vector<uint8_t> plain) {
        report::ReportBuffer out{};
        plain.resize(22, 0);
        out[0] = 0xF9;
        out[1] = plain[1];
        for (std::size_t i = 2; i < 22; ++i)
            out[i] = encode(plain[i]);
        if (port.write(out) != 22) return {};
        report::ReportBuffer in{};
        if (port.readFor(in, patient(2000ms)) <= 0) return {};
        std::vector<uint8_t> answer(in.begin(), in.begin() + 22);
        for (std::size_t i = 2; i < 22; ++i)
            answer[i] = decode(answer[i]);
        return answer;
    }
};

// Every byte of the application area: the file the update writes.
std::vector<uint8_t> firmwareBytes() {
    std::vector<uint8_t> bytes(0x4000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>((i * 37 + (i >> 8)) ^ 0xA5);
    return bytes;
}

std::string firmwareHex() {
    const auto bytes = firmwareBytes();
    std::string text;
    for (std::size_t a = 0; a < bytes.size(); a += 16)
        text += dataRecord(
            static_cast<uint16_t>(0x2000 + a),
            {bytes.begin() + static_cast<long>(a), bytes.begin() + static_cast<long>(a) + 16});
    return text + kEndRecord;
}

class UpdateEndToEnd : public ::testing::Test {
protected:
    FakeUiServices ui;
    FakeOsInfo os;
    FakeSystemLocale locale{"1"};
    FakeUrlOpener urls;
    TemporaryFolder logFolder;
    TemporaryFolder files;
    std::unique_ptr<TavrelLibrary> tavrel;
    std::unique_ptr<DeviceMonitor> monitor;
    std::unique_ptr<Form1> form;
    Dialog* dialog = nullptr;

    // watched: with the device monitor that the program chooses for these devices.
    void start(const char* devices, bool watched = false) {
        useDevices(devices);
        unsetenv("TAVREL_EMULATOR_STATE");
        tavrel = std::make_unique<TavrelLibrary>();
        if (watched)
            monitor = makeDeviceMonitor(
                chooseDeviceMonitor(std::nullopt, processEnvironment("TAVREL_EMULATOR")), *tavrel);
        form = std::make_unique<Form1>(Form1Services{*tavrel,
                                                     ui,
                                                     os,
                                                     locale,
                                                     urls,
                                                     logFolder.path(),
                                                     {},
                                                     {},
                                                     [] {},
                                                     nullptr,
                                                     monitor.get()});
        form->show();
    }
    // Runs body while the firmware dialog is shown, as the Firmware button shows it.
    void withDialog(const std::function<void()>& body) {
        ui.onModal = [&](QDialog& window) {
            dialog = &static_cast<Dialog&>(window);
            dialog->setRandomSeed(3);
            body();
        };
        form->OpenDev_Click(0);
        dialog = nullptr;
    }
    std::string console() const {
        return dialog->findChild<QPlainTextEdit*>("Console")->toPlainText().toStdString();
    }
    // Ticks of Timer1 until the boot loader is online (or the patience ends: a real
    // device's restart in a virtual machine takes seconds).
    bool detect() {
        for (int i = 0; i < 300 * patience(); ++i) {
            dialog->Timer1_Timer();
            if (!dialog->Timer1().isActive()) return true;
            QTest::qWait(50);
        }
        return false;
    }
    // The application area read through a link of the test's own; a probe restarts the
    // device's chains, whatever ours were. Empty when an answer is missing.
    static std::vector<uint8_t> readApplicationArea(report::ReportPort& port) {
        TestLink link;
        if (link.exchange(port, {0xF9, 0x00}).size() != 22) return {};
        link.send = link.receive = 0xC6;
        std::vector<uint8_t> flash;
        for (uint32_t a = 0x2000; a < 0x6000; a += 16) {
            const auto line = link.exchange(
                port, {0xF9, 0x01, 0x10, static_cast<uint8_t>(a), static_cast<uint8_t>(a >> 8)});
            if (line.size() != 22) return {};
            flash.insert(flash.end(), line.begin() + 6, line.end());
        }
        return flash;
    }
    // prefix: what a tool may write before the first record.
    void loadFirmware(const std::string& prefix = {}) {
        ui.openNames.push_back(files.write("full.hex", prefix + firmwareHex()));
        dialog->open_Command_Click();
    }
};

TEST_F(UpdateEndToEnd, InterfaceSwitchedIntoItsBootLoaderIsUpdatedAndResetIntoNormalMode) {
    start("interface:latency_ms=0.2:reboot_ms=20:joy_ms=0");
    ASSERT_EQ(tavrel->Open(0x537F, 0x6425, nullptr, nullptr, nullptr, -1), 1);
    report::ReportPort& port = form->context().port;
    // Programming mode, boot-loader switch on, store: the interface restarts as boot loader.
    for (const auto& [code, v1, v2] :
         {std::tuple{0x01, 0x00, 0x00}, {0x07, 0xFF, 0xFF}, {0xFF, 0x01, 0x00}}) {
        report::ReportBuffer out{0xF9,
                                 0x00,
                                 0x08,
                                 0x15,
                                 0xEE,
                                 static_cast<uint8_t>(code),
                                 static_cast<uint8_t>(v1),
                                 static_cast<uint8_t>(v2)};
        ASSERT_EQ(port.write(out), 8);
        report::ReportBuffer in{};
        ASSERT_GT(port.readFor(in, patient(2000ms)), 0);
    }

    std::vector<uint8_t> flash;
    withDialog([&] {
        ASSERT_TRUE(detect());
        EXPECT_EQ(console(), "Bootloader ver 01.05 found\n");
        loadFirmware();
        dialog->erase_Command_Click();
        dialog->program_Command_Click();
        dialog->verify_Command_Click();
        EXPECT_NE(console().find("erasing... ok.\nuploading... ok.\nverifying... ok.\n"),
                  std::string::npos)
            << console();

        flash = readApplicationArea(port);
        // The dialog's chains are now behind: detection brings them back in step.
        dialog->Timer1().start();
        ASSERT_TRUE(detect());
        dialog->led_Command_Click();
        EXPECT_FALSE(dialog->Timer1().isActive());
        dialog->reset_Command_Click();
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(flash, firmwareBytes());

    bool normal = false;
    for (int i = 0; i < 300 && !normal; ++i) {
        QTest::qWait(50);
        form->Refresh_Click(0);
        normal =
            form->GetDevices() == 1 && form->getProductID(0).find("25637") != std::string::npos;
    }
    EXPECT_TRUE(normal);
}

// The emulated bus sends no system events; the list still follows the restart, without
// the Refresh button (on an attached boot loader: through udev's monitor).
TEST_F(UpdateEndToEnd, AfterResetTheListShowsTheInterfaceByItself) {
    start("loader:latency_ms=0.2:reboot_ms=20:joy_ms=0", true);
    auto* list = form->findChild<QTreeWidget*>("DeviceList");
    withDialog([&] {
        ASSERT_TRUE(detect());
        dialog->reset_Command_Click();
    });
    const bool shown = QTest::qWaitFor(
        [&] {
            return list->topLevelItemCount() == 1 &&
                   list->topLevelItem(0)->text(3).trimmed() == "25637";
        },
        static_cast<int>(patient(10s).count()));
    EXPECT_TRUE(shown);
}

// Answers with echoes and status bytes (the emulator's own), and bare ones that carry only
// the probe's version and the read data: the update relies on nothing more.
class LostAnswer : public UpdateEndToEnd, public ::testing::WithParamInterface<const char*> {};

TEST_P(LostAnswer, InProgramStopsThereDetectionRecoversAndASecondUpdateWritesTheFile) {
    // Answer 1100 alone is lost: probe and start are 1 and 2, the erase 3 to 258, so the
    // loss falls in the middle of Program.
    start(GetParam());
    withDialog([&] {
        ASSERT_TRUE(detect());
        loadFirmware();
        dialog->erase_Command_Click();
        dialog->program_Command_Click();
        const std::string failed = console();
        EXPECT_NE(failed.find("Read failed! rdresult 0, inputReportLength 22\nProgram stopped at "
                              "address (low Endian): 0x"),
                  std::string::npos)
            << failed;
        EXPECT_EQ(failed.find("uploading... ok."), std::string::npos);
        EXPECT_TRUE(dialog->Timer1().isActive());

        ASSERT_TRUE(detect());
        // In step again: Verify reads on until the first line the stopped Program left.
        dialog->verify_Command_Click();
        const std::string verified = console();
        EXPECT_NE(verified.find("verifying... error at address (low Endian): 0x"),
                  std::string::npos)
            << verified;
        EXPECT_EQ(verified.find("Verify stopped"), std::string::npos);
        EXPECT_FALSE(dialog->Timer1().isActive());

        // A second full update after the recovery succeeds.
        dialog->erase_Command_Click();
        dialog->program_Command_Click();
        dialog->verify_Command_Click();
        const std::string second = console();
        EXPECT_NE(second.find("verifying... ok."), std::string::npos) << second;
        // The failure stays told above until this update completed.
        EXPECT_EQ(second.find("stopped", second.rfind("erasing... ")), std::string::npos) << second;
        EXPECT_EQ(dialog->flashState(), firmware::FlashState::AsIntended);
        EXPECT_EQ(readApplicationArea(form->context().port), firmwareBytes());
    });
}

INSTANTIATE_TEST_SUITE_P(Answers, LostAnswer,
                         ::testing::Values("loader:latency_ms=0.2:drop_once=1100",
                                           "loader:latency_ms=0.2:drop_once=1100:bare_answers=1"));

TEST_F(UpdateEndToEnd, UnplugDuringEraseStopsItAndDetectionWaits) {
    start("loader:latency_ms=5:unplug_after_ms=400");
    withDialog([&] {
        ASSERT_TRUE(detect());
        dialog->erase_Command_Click();
        const std::string text = console();
        EXPECT_NE(text.find("Erase stopped at address (low Endian): 0x"), std::string::npos)
            << text;
        EXPECT_EQ(text.find("erasing... ok."), std::string::npos);
        EXPECT_TRUE(dialog->Timer1().isActive());
        EXPECT_FALSE(dialog->findChild<QAbstractButton*>("erase_Command")->isEnabled());
    });
}

TEST_F(UpdateEndToEnd, FailedEraseStaysToldWithWhatTheFlashMayHoldAfterTheNewDetection) {
    // Answer 150 is lost: probe and start are 1 and 2, so Erase stops at its 148th block.
    start("loader:latency_ms=0.2:drop=150");
    withDialog([&] {
        ASSERT_TRUE(detect());
        loadFirmware();
        dialog->erase_Command_Click();
        EXPECT_TRUE(dialog->Timer1().isActive());
        ASSERT_TRUE(detect());
        const std::string text = console();
        EXPECT_EQ(text, "Bootloader ver 01.05 found\nErase stopped at address (low Endian): "
                        "0xC0 44 00: no answer came within 100 ms.\nThe application area may be "
                        "partly erased: run Erase, Program and Verify again before resetting.\n");
        // Further ticks and the LED change nothing of it.
        dialog->Timer1_Timer();
        dialog->led_Command_Click();
        EXPECT_EQ(console().find(text), 0u) << console();
    });
}

TEST_F(UpdateEndToEnd, ProgramOverAnUnerasedAreaIsNotOkAndAFileWithAByteOrderMarkLoads) {
    start("loader:latency_ms=0.2:bare_answers=1");
    withDialog([&] {
        ASSERT_TRUE(detect());
        loadFirmware("\xEF\xBB\xBF; written by the firmware build\r\n");
        ASSERT_EQ(dialog->memoryImage().filledLineCount(), 1024u) << console();
        // The emulated flash holds other firmware: programming only clears bits.
        dialog->program_Command_Click();
        std::string text = console();
        EXPECT_EQ(text.find("uploading... ok."), std::string::npos) << text;
        EXPECT_NE(text.find(" of 1024 lines read back different from the file; the area may "
                            "not have been erased.\nThe flash does not hold the file: run "
                            "Erase, Program and Verify again before resetting.\n"),
                  std::string::npos)
            << text;
        dialog->verify_Command_Click();
        EXPECT_NE(console().find(" of 1024 lines differ.\n"), std::string::npos) << console();

        dialog->erase_Command_Click();
        dialog->program_Command_Click();
        dialog->verify_Command_Click();
        text = console();
        EXPECT_NE(text.find("erasing... ok.\nuploading... ok.\nverifying... ok.\n"),
                  std::string::npos)
            << text;
        EXPECT_EQ(dialog->flashState(), firmware::FlashState::AsIntended);
    });
}

TEST_F(UpdateEndToEnd, SilentBootLoaderShowsNoVersion) {
    start("loader:silent=1");
    withDialog([&] {
        dialog->Timer1_Timer();
        EXPECT_TRUE(dialog->Timer1().isActive());
        EXPECT_EQ(console().find("Bootloader ver"), std::string::npos);
        EXPECT_NE(console().find("keine g\u00fcltige Antwort gelesen.\nInputReportLen=22"),
                  std::string::npos);
        EXPECT_FALSE(dialog->findChild<QAbstractButton*>("open_Command")->isEnabled());
    });
}

} // namespace
} // namespace orvane::test
