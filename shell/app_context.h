// What the device windows get from the main window: the language, the library, the
// blocking-UI services and the operating-system information.
#ifndef ORVANE_SHELL_APP_CONTEXT_H
#define ORVANE_SHELL_APP_CONTEXT_H

#include <string>

namespace orvane {

namespace report {
class ReportPort;
class Clock;
} // namespace report

class TavrelApi;
class UiServices;
class OsInfo;
class EventLog;
namespace joystick {
class JoystickSource;
}

// Language state kept by the main window.
struct Language {
    int offset = 1000;       // languageOffset: 0 German, 1000 English
    std::string code = "en"; // languageCode: "de" or "en", fixed at start-up
};

struct AppContext {
    const Language& language;
    TavrelApi& tavrel;
    UiServices& ui;
    const OsInfo& os;
    EventLog& log;
    // The opened device (library object 0) as a report port, and the clock its waits use.
    report::ReportPort& port;
    const report::Clock& clock;
    joystick::JoystickSource* joystick = nullptr; // none: the joystick monitor stays empty
};

// The seven values a device window receives, in the order they are set.
struct DeviceValues {
    int vendorId = 0;
    int productId = 0;
    std::string serialNumber;
    std::string manufacturer;
    std::string deviceName;
    int outputReportLen = 0;
    int inputReportLen = 0;
};

} // namespace orvane

#endif
