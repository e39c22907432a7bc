// The configuration dialog's joystick monitor in the whole program: the real libtavrel.so
// with an emulated interface, SDL's joystick layer with virtual joysticks.
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Form1.h"
#include "config/Dialog2.h"
#include "config/joystick/sdl_joystick_source.h"
#include "device/tavrel_library.h"
#include "joystick/virtual_joystick.h"
#include "ui/fake_ui_services.h"
#include "ui/test_fixture.h"

namespace orvane::test {
namespace {

class JoystickEndToEnd : public ::testing::Test {
protected:
    FakeUiServices ui;
    FakeOsInfo os;
    FakeSystemLocale locale{"1"};
    FakeUrlOpener urls;
    TemporaryFolder folder;
    joystick::SdlJoystickSource joysticks;
    int endCalls = 0;

    void SetUp() override {
        ASSERT_EQ(SDL_NumJoysticks(), 0) << "needs a machine without joysticks";
        setenv("TAVREL_EMULATOR", "interface", 1);
    }

    // Opens the configuration dialog on the emulated interface; `whileShown` sees it.
    void openConfiguration(joystick::JoystickSource& source,
                           const std::function<void(Dialog2&)>& whileShown) {
        TavrelLibrary tavrel;
        Form1 form(Form1Services{
            tavrel, ui, os, locale, urls, folder.path(), {}, {}, [this] { ++endCalls; }, &source});
        form.show();
        auto* list = form.findChild<QTreeWidget*>("DeviceList");
        ASSERT_EQ(list->topLevelItemCount(), 1);
        list->setCurrentItem(list->topLevelItem(0));
        ui.onModal = [&](QDialog& window) { whileShown(dynamic_cast<Dialog2&>(window)); };
        form.OpenDev2_Click(0);
        tavrel.CloseRead();
        tavrel.CloseWrite();
        ASSERT_EQ(ui.modalWindows, std::vector<std::string>{"Dialog2"});
    }
    static QStringList names(const Dialog2& dialog) {
        const auto* list = dialog.findChild<QListWidget*>("lst_Liste");
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    static QString value(const Dialog2& dialog, int axis) {
        return dialog.findChild<QLabel*>("Label31_" + QString::number(8 + axis))->text();
    }
};

TEST_F(JoystickEndToEnd, MonitorShowsTheJoysticksAxesWhileTheDialogIsOpen) {
    VirtualJoystick stick("RC USB Joystick", 8, 8);
    stick.setAxis(0, 65535);
    stick.setAxis(1, 0);
    bool seen = false;
    openConfiguration(joysticks, [&](Dialog2& dialog) {
        EXPECT_EQ(names(dialog), QStringList{"RC USB Joystick"});
        dialog.TimerJoy_Timer();
        EXPECT_EQ(value(dialog, 0), "256");
        EXPECT_EQ(value(dialog, 1), "0");
        EXPECT_EQ(value(dialog, 2), "128");
        seen = true;
    });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(endCalls, 0);
    // The dialog let go of the joysticks when it closed.
    EXPECT_TRUE(joysticks.joysticks().empty());
}

TEST_F(JoystickEndToEnd, WithoutJoysticksTheDialogOpensAndTheProgramGoesOn) {
    bool seen = false;
    openConfiguration(joysticks, [&](Dialog2& dialog) {
        EXPECT_TRUE(names(dialog).isEmpty());
        seen = true;
    });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(endCalls, 0);
}

TEST_F(JoystickEndToEnd, UnusableJoystickLayerEndsTheProgram) {
    // A source of its own after SDL's joystick subsystem is gone: it cannot prepare anything.
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    joystick::SdlJoystickSource unusable;
    openConfiguration(unusable, [](Dialog2&) {});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Direct Input konnte nicht initialisiert werden!\rAnwendung wird beendet.");
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0);
}

} // namespace
} // namespace orvane::test
