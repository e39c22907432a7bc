// orvane: configuration program of the R/C USB interface.
#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <string_view>

#include "app/Form1.h"
#include "app/device_monitor_choice.h"
#include "app/qt_ui_services.h"
#include "app/qt_url_opener.h"
#include "config/joystick/sdl_joystick_source.h"
#include "device/tavrel_library.h"
#include "report/answer_timeout.h"
#include "shell/localization.h"
#include "shell/log_file.h"
#include "shell/os_info_linux.h"

namespace {

// --answer-timeout MS is handed on as the environment's bound, which the device's report
// port reads; a value that is no bound is told and left out.
void takeAnswerTimeoutOption(int argc, char* argv[]) {
    const std::string_view name = orvane::report::kAnswerTimeoutOption;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        std::string_view value;
        if (word == name && i + 1 < argc)
            value = argv[++i];
        else if (word.starts_with(name) && word.size() > name.size() && word[name.size()] == '=')
            value = word.substr(name.size() + 1);
        else
            continue;
        if (orvane::report::parseAnswerTimeout(value))
            ::setenv(orvane::report::kAnswerTimeoutVariable, std::string(value).c_str(), 1);
        else
            std::cerr << orvane::report::answerTimeoutError(name, value) << "\n";
    }
}

} // namespace

int main(int argc, char* argv[]) {
    takeAnswerTimeoutOption(argc, argv);
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
