// The Signal tab at 100 joystick reports a second, shown offscreen at 1280 x 720:
//  - CPU share of the process while the tab reads, charts and counts a live stream;
//  - time per repaint of the strip chart with ten seconds of samples;
//  - memory after one and after ten minutes of reports (fed with their times, fast).
// Prints the figures; there are no goals to pass or fail here.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <atomic>

#include "report/clock.h"
#include "shell/event_log.h"
#include "signal/signal_tab.h"
#include "signal/strip_chart.h"
#include "ui/fake_tavrel_api.h"
#include "ui/fake_ui_services.h"

namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

// A joystick report whose axes move slowly and jitter by a few counts.
orvane::report::ReportBuffer joystickReport(long n) {
    orvane::report::ReportBuffer r{};
    r[0] = 0x01;
    for (int a = 0; a < 8; ++a) {
        const double v = 32768 + 30000 * std::sin(0.002 * static_cast<double>(n) + a) +
                         static_cast<double>((n * (a + 3)) % 7);
        const auto value = static_cast<uint16_t>(v);
        r[static_cast<std::size_t>(1 + 2 * a)] = static_cast<uint8_t>(value & 0xFF);
        r[static_cast<std::size_t>(2 + 2 * a)] = static_cast<uint8_t>(value >> 8);
    }
    r[17] = static_cast<uint8_t>((n / 50) & 0xFF);
    return r;
}

// The interface's stream on the real clock: a report is due every 10 ms; a read takes the
// oldest one due, as the kernel's queue hands them out.
class StreamPort final : public orvane::report::ReportPort {
public:
    int write(std::span<const uint8_t, orvane::report::kReportBufferSize>) override { return 8; }
    int read(std::span<uint8_t, orvane::report::kReportBufferSize> report) override {
        const auto now = Steady::now();
        if (!live || now < next_.load()) return 0;
        next_ = next_.load() + 10ms;
        const auto r = joystickReport(sent_++);
        std::copy(r.begin(), r.end(), report.begin());
        handOn(report, 18, now);
        return 18;
    }
    // Waits for the next report as a device's read does: blocking, not spinning.
    int readFor(std::span<uint8_t, orvane::report::kReportBufferSize> report,
                std::chrono::milliseconds timeout) override {
        const auto until = Steady::now() + timeout;
        if (!live) {
            std::this_thread::sleep_until(until);
            return 0;
        }
        std::this_thread::sleep_until(std::min(until, next_.load()));
        return read(report);
    }
    long sent() const { return sent_; }
    std::atomic<bool> live = false; // off: the device sends nothing (the samples are fed directly)

private:
    // Read by the tab's reading thread and the window's.
    std::atomic<Steady::time_point> next_ = Steady::now() + 10ms;
    std::atomic<long> sent_ = 0;
};

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

struct Host {
    orvane::Language language;
    orvane::test::FakeTavrelApi tavrel;
    orvane::test::FakeUiServices ui;
    orvane::test::FakeOsInfo os;
    orvane::EventLog log{ui, [] { return std::string(); }};
    orvane::report::SteadyClock clock;
    StreamPort port;
    orvane::AppContext context{language, tavrel, ui, os, log, port, clock};
    QTabWidget window;
    orvane::signal::SignalTab* tab = new orvane::signal::SignalTab(context, &window);

    Host() {
        window.addTab(tab, QStringLiteral("Signal"));
        window.resize(1280, 720);
        window.show();
    }
    orvane::signal::StripChart& chart() {
        return *tab->findChild<orvane::signal::StripChart*>("SignalChart");
    }
};

void liveStream(double seconds) {
    Host host;
    host.port.live = true;
    QApplication::processEvents();
    const double cpu0 = cpuSeconds();
    const auto wall0 = Steady::now();
    QTimer::singleShot(static_cast<int>(seconds * 1000), qApp, &QCoreApplication::quit);
    QApplication::exec();
    const double cpu = cpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(Steady::now() - wall0).count();
    const auto totals = host.tab->totals();
    std::printf("live stream, %.1f s at 100 reports/s, tab shown at 1280x720 (chart %dx%d):\n",
                wall, host.chart().width(), host.chart().height());
    std::printf("  CPU share of one core: %.2f %% (%.3f s CPU)\n", 100.0 * cpu / wall, cpu);
    std::printf("  reports sent %ld, counted %ld, interval min/median/max %.2f/%.2f/%.2f ms\n",
                host.port.sent(), totals.reports, totals.intervals.minMs, totals.intervals.medianMs,
                totals.intervals.maxMs);
}

void repaintTime() {
    Host host;
    // Ten seconds of reports, as the chart shows them.
    const auto end = Steady::now();
    for (long n = 0; n < 1000; ++n) {
        const auto r = joystickReport(n);
        host.tab->reportArrived(std::span<const uint8_t>(r.data(), 18), end - 10s + n * 10ms);
    }
    host.tab->refreshChart(end);
    QApplication::processEvents();
    auto& chart = host.chart();
    constexpr int kRounds = 300;
    QElapsedTimer timer;
    double worst = 0;
    timer.start();
    for (int i = 0; i < kRounds; ++i) {
        const auto t0 = Steady::now();
        chart.repaint();
        worst =
            std::max(worst, std::chrono::duration<double, std::milli>(Steady::now() - t0).count());
    }
    const double perRepaint = static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds;
    std::printf("repaint of the chart (%dx%d in the 1280x720 tab), 1000 samples:\n", chart.width(),
                chart.height());
    std::printf("  mean %.3f ms, worst %.3f ms over %d repaints\n", perRepaint, worst, kRounds);

    QImage image(1280, 720, QImage::Format_RGB32);
    const auto samples = host.tab->withScope([&](const auto& s) { return s.samplesBetween(end - 10s, end); });
    timer.restart();
    for (int i = 0; i < kRounds; ++i) {
        QPainter p(&image);
        orvane::signal::drawStripChart(p, image.rect(), samples, {end}, {});
    }
    std::printf("  the chart drawn over a whole 1280x720 image: mean %.3f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / kRounds);
}

void memoryOverTime() {
    Host host;
    QApplication::processEvents();
    const auto start = Steady::now();
    long n = 0;
    const auto feed = [&](std::chrono::minutes until) {
        for (; n * 10ms < until; ++n) {
            const auto r = joystickReport(n);
            const auto at = start + n * 10ms;
            host.tab->reportArrived(std::span<const uint8_t>(r.data(), 18), at);
            if (n % 3 == 0) host.tab->refreshChart(at);  // about 30 a second
            if (n % 50 == 0) host.tab->refreshFigures(); // twice a second
        }
        QApplication::processEvents();
    };
    feed(1min);
    const long afterOne = residentKiB();
    const std::size_t historyOne = host.tab->withScope([](const auto& s) { return s.size(); });
    feed(10min);
    const long afterTen = residentKiB();
    std::printf("memory, reports fed with their times (no waiting):\n");
    std::printf("  after 1 min (%ld reports): %ld KiB resident, history %zu samples\n", 6000L,
                afterOne, historyOne);
    std::printf("  after 10 min (%ld reports): %ld KiB resident, history %zu samples\n", n,
                afterTen, host.tab->withScope([](const auto& s) { return s.size(); }));
    std::printf("  ratio 10 min / 1 min: %.3f\n",
                static_cast<double>(afterTen) / static_cast<double>(afterOne));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    memoryOverTime();
    repaintTime();
    liveStream(seconds);
    return 0;
}
