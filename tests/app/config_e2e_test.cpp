// The configuration dialog on the real libtavrel.so, loaded by name, with the emulated
// interface: opened from the main window, read at start-up, edited, transmitted, stored,
// and read again by a second process after the device came back (its stored configuration
// kept in the emulator's state file). The library reads TAVREL_EMULATOR once per process,
// so each test runs in a process of its own (as CTest runs them).
#include <QCoreApplication>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <variant>

#include "app/Form1.h"
#include "config/Dialog2.h"
#include "config/core/command_exchange.h"
#include "config/core/settings_file.h"
#include "config/core/transfer_sequences.h"
#include "config/fake_interface.h"
#include "device/tavrel_library.h"
#include "device/tavrel_report_port.h"
#include "report/clock.h"
#include "resources/text_fill.h"
#include "resources/texts/shared_texts.h"
#include "shell/localization.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"
#include "ui/wait_until.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kStateVariable = "ORVANE_E2E_STATE";

// Every item differs from the primed configuration.
config::Configuration editedConfiguration() {
    config::Configuration c = distinctiveConfiguration();
    std::reverse(c.axisChannel.begin(), c.axisChannel.end());
    std::reverse(c.buttonChannel.begin(), c.buttonChannel.end());
    for (auto& t : c.buttonThreshold)
        t = 255 - t;
    for (auto* flags : {&c.axisInvert, &c.buttonInvert, &c.buttonActive})
        for (auto&& f : *flags)
            f = !f;
    for (auto& table : c.mixers.tables)
        for (auto& e : table)
            e = static_cast<int16_t>((e + 7) % 256);
    c.option = {true, false};
    c.decodingMode = 0;
    return c;
}

class ConfigEndToEnd : public ::testing::Test {
protected:
    FakeUiServices ui;
    FakeOsInfo os;
    FakeSystemLocale locale{"1"};
    FakeUrlOpener urls;
    TemporaryFolder folder;

    // Opens the first listed device in the configuration dialog and runs drive while it
    // is shown.
    void openDialog(TavrelLibrary& tavrel, const std::function<void(Dialog2&)>& drive) {
        Form1 form(Form1Services{tavrel, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
        auto* list = form.findChild<QTreeWidget*>("DeviceList");
        ASSERT_GE(list->topLevelItemCount(), 1);
        list->setCurrentItem(list->topLevelItem(0));
        bool shown = false;
        ui.onModal = [&](QDialog& dialog) {
            shown = true;
            drive(static_cast<Dialog2&>(dialog));
        };
        form.OpenDev2_Click(0);
        ASSERT_TRUE(shown);
    }

    // The start-up read has run to its end.
    static bool startupReadDone(const Dialog2& d) {
        return d.logText().count("PUT: ") == 20 && !d.sequenceRunning();
    }

    // Firmware without mixers (1.1) or without the decoding mode (1.2) refuses those
    // commands: Load, Transmit and Store still end as done, and closing asks nothing.
    void olderFirmwareRunsWithoutFailures(const QString& unsupported) {
        TavrelLibrary tavrel;
        openDialog(tavrel, [&](Dialog2& d) {
            ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }, 30s));
            EXPECT_TRUE(d.sequenceOutcomeText().startsWith("Configuration read from the "
                                                           "interface"))
                << d.sequenceOutcomeText().toStdString();
            EXPECT_TRUE(d.sequenceOutcomeText().contains(unsupported));
            EXPECT_FALSE(d.findChild<QWidget*>("Option1_1")->isEnabled());
            d.mixers()[config::MixerField::Factor][0] = 9; // as a settings file might
            EXPECT_EQ(d.holdsInterfaceConfiguration(), unsupported.contains("1.1"))
                << "firmware 1.1 has no mixers";
            d.setAxisChannel(0, 4);
            d.findChild<QPushButton*>("Command14")->click();
            EXPECT_TRUE(d.sequenceOutcomeText().startsWith("Configuration transmitted"))
                << d.sequenceOutcomeText().toStdString();
            EXPECT_FALSE(d.windowTitle().startsWith('*'));
            d.findChild<QPushButton*>("Command1")->click();
            EXPECT_FALSE(d.isVisible());
        });
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  "USB-Interface should be detached and reattached to apply all changes");
    }
};

// Transmits and stores a configuration straight through the library, as a command-line
// tool would.
void prime(TavrelApi& tavrel, const config::Configuration& wanted, bool expectAnswers = true) {
    TavrelReportPort port(tavrel);
    report::SteadyClock clock;
    config::Configuration scratch;
    auto steps = config::transmitSequence(wanted);
    const auto store = config::storeSequence();
    steps.insert(steps.end(), store.begin(), store.end());
    config::runSequence(
        steps,
        [&](std::string_view text) {
            const auto request =
                std::get<report::ReportBuffer>(config::buildRequest("F9", text, {8, 18}));
            const auto out = config::runCommand(port, clock, request, {8, 18}, true, scratch);
            if (expectAnswers) {
                EXPECT_TRUE(out.answered) << text;
            }
        },
        {});
}

// The working configuration of the interface with that serial number, read through the
// library.
config::Configuration readBack(TavrelApi& tavrel, const char* serial) {
    config::Configuration read;
    if (tavrel.Open(0x537F, 0x6425, nullptr, serial, nullptr, -1) != 1) {
        ADD_FAILURE() << "cannot open " << serial;
        return read;
    }
    TavrelReportPort port(tavrel);
    report::SteadyClock clock;
    config::runSequence(config::loadSequence(),
                        [&](std::string_view text) {
                            const auto request = std::get<report::ReportBuffer>(
                                config::buildRequest("F9", text, {8, 18}));
                            config::runCommand(port, clock, request, {8, 18}, true, read);
                        },
                        {});
    tavrel.CloseRead();
    tavrel.CloseWrite();
    return read;
}

// Two interfaces of one kind: the dialog reads and transmits to the one of the selected row.
TEST_F(ConfigEndToEnd, TheSelectedOfTwoInterfacesIsReadAndTransmittedTo) {
    useDevices("interface:serial=AAA:fw=1.3.5,interface:serial=BBB:fw=1.2.7");
    TavrelLibrary tavrel;
    {
        Form1 form(Form1Services{tavrel, ui, os, locale, urls, folder.path(), {}, {}, [] {}});
        auto* list = form.findChild<QTreeWidget*>("DeviceList");
        const auto rows = list->findItems("BBB", Qt::MatchExactly, 4);
        ASSERT_EQ(rows.size(), 1);
        list->setCurrentItem(rows[0]);
        bool shown = false;
        ui.onModal = [&](QDialog& dialog) {
            shown = true;
            auto& d = static_cast<Dialog2&>(dialog);
            // A generous bound: on the real USB stack under emulation each exchange is slow.
            ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }, 30s))
                << d.logText().toStdString() << d.statusText().toStdString();
            EXPECT_EQ(d.windowTitle(), "Configuration - FW v1.2.7");
            d.applySnapshot(editedConfiguration());
            d.showCurrentMixer();
            d.findChild<QPushButton*>("Command14")->click();
            d.findChild<QPushButton*>("CancelButton_0")->click();
        };
        form.OpenDev2_Click(0);
        ASSERT_TRUE(shown);
    }
    const config::Configuration edited = editedConfiguration();
    const config::Configuration b = readBack(tavrel, "BBB");
    EXPECT_EQ(b.axisChannel, edited.axisChannel);
    EXPECT_EQ(b.buttonThreshold, edited.buttonThreshold);
    EXPECT_NE(readBack(tavrel, "AAA").axisChannel, edited.axisChannel);
}

TEST_F(ConfigEndToEnd, ReadEditTransmitStoreAndReadAgainAfterReplug) {
    const auto state = folder.path() / "emulator.state";
    useDevices("interface:fw=1.3.5");
    setenv("TAVREL_EMULATOR_STATE", state.c_str(), 1);
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        prime(tavrel, distinctiveConfiguration());
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        const QString log = d.logText();
        EXPECT_TRUE(log.startsWith("joyFilter on\r\nPUT: F9 00 08 15 EE 01 00 00 \r\n"))
            << log.toStdString();
        EXPECT_EQ(log.count("get: F9"), 20);
        EXPECT_EQ(d.configuration(), distinctiveConfiguration());
        EXPECT_EQ(d.windowTitle(), "Configuration - FW v1.3.5");
        EXPECT_TRUE(d.findChild<QWidget*>("Frame8_0")->isEnabled());
        EXPECT_TRUE(d.findChild<QWidget*>("Option1_1")->isEnabled());

        d.applySnapshot(editedConfiguration());
        d.showCurrentMixer();
        d.findChild<QPushButton*>("Command14")->click();
        EXPECT_EQ(d.logText().count("PUT: "), 20 + 54);
        EXPECT_EQ(d.logText().count("get: F9"), 20 + 54);
        d.findChild<QPushButton*>("Command1")->click();
        EXPECT_FALSE(d.isVisible());
    });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "USB-Interface should be detached and reattached to apply all changes");

    // A new process is a device plugged in again: it starts from the stored configuration.
    QProcess again;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kStateVariable, QString::fromStdString(state.string()));
    again.setProcessEnvironment(env);
    again.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=ConfigEndToEnd.ReadAgainInANewProcess"});
    ASSERT_TRUE(again.waitForFinished(static_cast<int>(patient(30s).count())));
    const QString output = QString::fromLocal8Bit(again.readAllStandardOutput());
    EXPECT_EQ(again.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

// Store after an edit that was never transmitted: the user chooses to transmit it first, and
// a new process reads the edit back.
TEST_F(ConfigEndToEnd, StoreAfterAnUntransmittedEditTransmitsItWhenChosen) {
    const auto state = folder.path() / "emulator.state";
    useDevices("interface:fw=1.3.5");
    setenv("TAVREL_EMULATOR_STATE", state.c_str(), 1);
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        prime(tavrel, distinctiveConfiguration());
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }, 30s));
        d.applySnapshot(editedConfiguration());
        d.showCurrentMixer();
        EXPECT_TRUE(d.windowTitle().startsWith('*'));
        ui.answers.push_back(MessageResult::Yes); // Transmit and Store
        d.findChild<QPushButton*>("Command1")->click();
        EXPECT_FALSE(d.isVisible());
    });
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(ui.messages[1].text.rfind("The values shown were transmitted and stored", 0), 0u);

    QProcess again;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kStateVariable, QString::fromStdString(state.string()));
    again.setProcessEnvironment(env);
    again.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=ConfigEndToEnd.ReadAgainInANewProcess"});
    ASSERT_TRUE(again.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(again.readAllStandardOutput());
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST_F(ConfigEndToEnd, Firmware11WithoutMixersLoadsTransmitsAndStores) {
    useDevices("interface:fw=1.1.0");
    olderFirmwareRunsWithoutFailures("13 not supported by firmware 1.1 (mixers, decoding mode)");
}

TEST_F(ConfigEndToEnd, Firmware12WithoutDecodingModeLoadsTransmitsAndStores) {
    useDevices("interface:fw=1.2.0");
    olderFirmwareRunsWithoutFailures("1 not supported by firmware 1.2 (decoding mode)");
}

// A firmware file read as settings is refused and changes nothing; an edit is not thrown
// away unasked, and once it is saved (under the name as typed) closing asks nothing.
TEST_F(ConfigEndToEnd, AFileThatIsNoSettingsFileIsRefusedAndSavedEditsCloseUnasked) {
    const auto hex = folder.path() / "fw.hex";
    std::ofstream(hex, std::ios::binary) << ":100000000C9434000C9446000C9446000C9446006A\r\n";
    const auto orv = folder.path() / "club.orv";
    std::ofstream(orv, std::ios::binary) << "kept";
    useDevices("interface");
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }, 30s));
        const auto read = d.configuration();
        ui.openNames.push_back(hex.string());
        d.findChild<QPushButton*>("Command25")->click();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].text.find("is not a settings file"), std::string::npos);
        EXPECT_EQ(d.configuration(), read);
        EXPECT_TRUE(d.holdsInterfaceConfiguration());

        d.setButtonThreshold(3, 17);
        ui.answers.push_back(MessageResult::No); // Go Back
        d.findChild<QPushButton*>("CancelButton_0")->click();
        EXPECT_TRUE(d.isVisible());
        ui.saveNames.push_back((folder.path() / "club").string());
        d.findChild<QPushButton*>("Command26")->click();
        d.findChild<QPushButton*>("CancelButton_0")->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "club"));
    std::ifstream kept(orv, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
}

// The second half of the round trip; runs only when the first half starts it.
TEST_F(ConfigEndToEnd, ReadAgainInANewProcess) {
    const char* state = std::getenv(kStateVariable);
    if (!state) GTEST_SKIP() << "started by ReadEditTransmitStoreAndReadAgainAfterReplug";
    useDevices("interface:fw=1.3.5");
    setenv("TAVREL_EMULATOR_STATE", state, 1);
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        EXPECT_EQ(d.configuration(), editedConfiguration());
        d.findChild<QPushButton*>("CancelButton_0")->click();
    });
}

TEST_F(ConfigEndToEnd, LostAnswersFailTheirExchangesAndTheRestArrive) {
    useDevices("interface:loss=0.3:seed=7");
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        prime(tavrel, distinctiveConfiguration(), false);
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        const int answered = static_cast<int>(d.logText().count("get: F9"));
        EXPECT_LT(answered, 20);
        EXPECT_GT(answered, 0);
        EXPECT_TRUE(d.isVisible());
        d.findChild<QPushButton*>("CancelButton_0")->click();
    });
}

// Neither the Configuration tab nor the status says that a sequence that failed completed.
void expectToldFailed(const Dialog2& d, const QString& howMany) {
    EXPECT_TRUE(d.sequenceOutcomeText().contains(howMany)) << d.sequenceOutcomeText().toStdString();
    EXPECT_TRUE(d.statusText().contains(howMany)) << d.statusText().toStdString();
    EXPECT_FALSE(d.sequenceOutcomeText().contains("completed successfully"));
    EXPECT_FALSE(d.statusText().contains("completed successfully"));
}

TEST_F(ConfigEndToEnd, ADeviceThatNeverAnswersEndsEachReadWithinItsBound) {
    useDevices("interface:silent=1");
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        const QString title = d.windowTitle();
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        expectToldFailed(d, "20 of 20 commands failed (20 not answered)");
        EXPECT_TRUE(d.sequenceOutcomeText().contains("Nothing was read"));

        // The defaults on show are not sent without asking.
        ui.answers.push_back(MessageResult::No);
        d.findChild<QPushButton*>("Command14")->click();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(d.logText().count("PUT: "), 20);
        d.Command2_Click();
        const auto start = Clock::now();
        d.findChild<QPushButton*>("Command6")->click();
        const auto took = Clock::now() - start;
        EXPECT_LE(took, 20 * 100ms + 300ms);
        EXPECT_EQ(d.logText().count("PUT: "), 20);
        EXPECT_EQ(d.logText().count("get: F9"), 0);
        expectToldFailed(d, "20 of 20 commands failed (20 not answered)");
        EXPECT_EQ(d.windowTitle(), title);
        EXPECT_FALSE(d.findChild<QWidget*>("Frame8_0")->isEnabled());
        d.findChild<QPushButton*>("CancelButton_0")->click();
        EXPECT_FALSE(d.isVisible());
    });
}

TEST_F(ConfigEndToEnd, ADeviceUnpluggedMidSequenceFailsTheRestAndTheDialogCloses) {
    // Answers take 20 ms, so the start-up read runs for 400 ms and the device leaves in it.
    useDevices("interface:latency_ms=20:unplug_after_ms=300");
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        const QString log = d.logText();
        EXPECT_GT(log.count("get: F9"), 0);
        EXPECT_LT(log.count("get: F9"), 20);
        expectToldFailed(d, "of 20 commands failed");
        // Whether a read or the next write meets the device gone depends on when it leaves.
        EXPECT_TRUE(d.statusText().contains("The interface stopped answering (it left or "
                                            "failed).") ||
                    d.statusText().contains("the interface may have left"))
            << d.statusText().toStdString();
        d.findChild<QPushButton*>("CancelButton_0")->click();
        EXPECT_FALSE(d.isVisible());
    });
}

TEST_F(ConfigEndToEnd, AWriteFailingInTheMiddleOfTransmitIsCountedAndClosingAsks) {
    // The 20 writes of the start-up read, then the 40th write fails: the transmission's 20th.
    useDevices("interface:write_fail=40");
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        EXPECT_EQ(d.sequenceOutcomeText(),
                  "Configuration read from the interface: all 20 commands answered.");
        d.findChild<QPushButton*>("Command14")->click();
        EXPECT_TRUE(ui.messages.empty()) << "read in full: Transmit asks nothing";
        EXPECT_EQ(d.logText().count("get: F9"), 20 + 53);
        expectToldFailed(d, "1 of 54 commands failed (1 not written)");
        EXPECT_TRUE(d.sequenceOutcomeText().contains("may run a mix of old and new values"));

        ui.answers.push_back(MessageResult::No);
        d.findChild<QPushButton*>("CancelButton_0")->click();
        EXPECT_TRUE(d.isVisible());
        d.findChild<QPushButton*>("CancelButton_0")->click(); // Yes
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(ui.messages.size(), 2u);
}

// The same failed transmission under German: its outcome and the question on closing speak
// German, with the counts in their places.
TEST_F(ConfigEndToEnd, UnderGermanTheOutcomeAndTheQuestionAreGerman) {
    locale.countryCode = "49";
    useDevices("interface:write_fail=40");
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        EXPECT_EQ(d.sequenceOutcomeText().toStdString(),
                  localizedText(text_id::kReadAllAnswered, kOffsetGerman, {"20"}));
        d.findChild<QPushButton*>("Command14")->click();
        const std::string outcome = d.sequenceOutcomeText().toStdString();
        EXPECT_EQ(
            outcome.rfind(
                localizedText(text_id::kSequenceFailedCounted, kOffsetGerman,
                              {localizedText(text_id::kSequenceTransmission, kOffsetGerman), "1",
                               localizedText(text_id::kManyCommands, kOffsetGerman, {"54"}),
                               localizedText(text_id::kCountNotWritten, kOffsetGerman, {"1"}), ""}),
                0),
            0u)
            << outcome;
        d.findChild<QPushButton*>("CancelButton_0")->click(); // Yes
    });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              localizedText(text_id::kFailedTransmitState, kOffsetGerman, {"1", "54"}) +
                  localizedText(text_id::kCloseAnyway, kOffsetGerman));
}

TEST_F(ConfigEndToEnd, ASettingsFileWithAMixerEntryBeyondAByteIsNamedAndTheTransmitSaysSo) {
    config::Configuration c = distinctiveConfiguration();
    c.mixers[config::MixerField::Factor][4] = 300;
    const auto file = folder.path() / "club.orv";
    std::ofstream(file, std::ios::binary) << config::writeSettingsFile(c, "");
    useDevices("interface");
    TavrelLibrary tavrel;
    openDialog(tavrel, [&](Dialog2& d) {
        ASSERT_TRUE(waitUntil([&] { return startupReadDone(d); }));
        ui.openNames.push_back(file.string());
        d.findChild<QPushButton*>("Command25")->click();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].text.find("mixer 5 factor 300"), std::string::npos);

        d.findChild<QPushButton*>("Command14")->click();
        EXPECT_EQ(d.logText().count("get: F9"), 20 + 53);
        EXPECT_EQ(d.logText().count("Not sent: 00 08 15 EE 2A 12C "), 1);
        expectToldFailed(d, "1 of 54 commands failed (1 not sent)");
        EXPECT_TRUE(d.sequenceOutcomeText().contains("mixer 5 factor 300"));
        d.findChild<QPushButton*>("CancelButton_0")->click(); // Yes to the question
    });
}

} // namespace
} // namespace orvane::test
