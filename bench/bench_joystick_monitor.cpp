// Cost of one refresh of the configuration dialog's joystick monitor (TimerJoy runs it 20
// times a second): an SDL virtual joystick with eight axes and eight buttons whose axes and
// buttons change at every refresh, so every bar, value and box changes.
#include <QApplication>
#include <QListWidget>

#include <SDL.h>

#include <benchmark/benchmark.h>

#include "config/Dialog2.h"
#include "config/joystick/sdl_joystick_source.h"
#include "shell/app_context.h"
#include "shell/event_log.h"
#include "testreport/fake_report_port.h"
#include "ui/fake_tavrel_api.h"
#include "ui/fake_ui_services.h"

namespace {

using orvane::Dialog2;

struct MonitoredDialog {
    orvane::Language language;
    orvane::test::FakeTavrelApi tavrel;
    orvane::test::FakeUiServices ui;
    orvane::test::FakeOsInfo os;
    orvane::EventLog log{ui, [] { return std::string(); }};
    orvane::joystick::SdlJoystickSource joysticks;
    orvane::test::FakeClock clock;
    orvane::test::FakeReportPort port{clock};
    orvane::AppContext context{language, tavrel, ui, os, log, port, clock, &joysticks};
    SDL_Joystick* stick = nullptr;
    int deviceIndex = -1;
    std::unique_ptr<Dialog2> dialog;

    MonitoredDialog() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.naxes = 8;
        desc.nbuttons = 8;
        desc.name = "Bench Stick";
        deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
        stick = SDL_JoystickOpen(deviceIndex);
        dialog = std::make_unique<Dialog2>(context);
        dialog->Form_Load();
    }
    ~MonitoredDialog() {
        dialog.reset();
        SDL_JoystickClose(stick);
        SDL_JoystickDetachVirtual(deviceIndex);
    }
    void move(int step) {
        const bool odd = step % 2 != 0;
        for (int a = 0; a < 8; ++a)
            SDL_JoystickSetVirtualAxis(stick, a, static_cast<Sint16>(odd ? 30000 : -30000));
        for (int b = 0; b < 8; ++b)
            SDL_JoystickSetVirtualButton(stick, b, odd ? SDL_PRESSED : SDL_RELEASED);
    }
};

// The refresh itself: reading the joystick and setting the controls.
void BM_UpdateJoystickMonitor(benchmark::State& state) {
    MonitoredDialog m;
    if (!m.stick || m.dialog->findChild<QListWidget*>("lst_Liste")->count() != 1) {
        state.SkipWithError("virtual joystick not monitored");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        m.move(++step);
        m.dialog->updateJoystickMonitor();
    }
}
BENCHMARK(BM_UpdateJoystickMonitor);

// The refresh with the repaint of the shown dialog that it causes.
void BM_UpdateJoystickMonitorPainted(benchmark::State& state) {
    MonitoredDialog m;
    m.dialog->show();
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        m.move(++step);
        m.dialog->TimerJoy_Timer();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_UpdateJoystickMonitorPainted);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const orvane::joystick::SdlJoystickSystem joysticks;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
