// Test main for the joystick monitor: one QApplication on the offscreen platform and SDL's
// joystick layer, both once for the process, as the program has them.
#include <QApplication>

#include <gtest/gtest.h>

#include "config/joystick/sdl_joystick_source.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const orvane::joystick::SdlJoystickSystem joysticks;
    if (!joysticks.ready()) {
        ADD_FAILURE() << "SDL's joystick layer did not start";
        return 1;
    }
    return RUN_ALL_TESTS();
}
