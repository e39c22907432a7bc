// orvane: configuration program of the R/C USB interface.
#include <QApplication>

#include "app/Form1.h"
#include "app/device_monitor_choice.h"
#include "app/qt_ui_services.h"
#include "app/qt_url_opener.h"
#include "config/joystick/sdl_joystick_source.h"
#include "device/tavrel_library.h"
#include "shell/localization.h"
#include "shell/log_file.h"
#include "shell/os_info_linux.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));
    const std::filesystem::path programFolder =
        QCoreApplication::applicationDirPath().toStdString();

    orvane::QtUiServices ui;
    orvane::TavrelLibrary tavrel(programFolder);
    const orvane::LinuxOsInfo os;
    const orvane::EnvironmentLocale locale(&orvane::processEnvironment);
    orvane::QtUrlOpener urlOpener;
    // The joystick layer is prepared once for the whole run; each configuration dialog opens
    // the joysticks through the source.
    const orvane::joystick::SdlJoystickSystem joystickSystem;
    orvane::joystick::SdlJoystickSource joysticks;
    const auto deviceMonitor = orvane::makeDeviceMonitor(
        orvane::chooseDeviceMonitor(orvane::processEnvironment("ORVANE_DEVICE_MONITOR"),
                                    orvane::processEnvironment("TAVREL_EMULATOR")),
        tavrel);

    orvane::Form1 form(orvane::Form1Services{tavrel,
                                             ui,
                                             os,
                                             locale,
                                             urlOpener,
                                             programFolder,
                                             orvane::userStateFolder(&orvane::processEnvironment),
                                             {},
                                             {},
                                             &joysticks,
                                             deviceMonitor.get()});
    form.show();
    return app.exec();
}
