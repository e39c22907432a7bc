// What the user waits for in the configuration dialog: a full Load (20 exchanges) and a
// full Transmit (54) through the real libtavrel.so against the emulated interface, with
// its joystick stream on and after the device sat idle (a full input queue). Printed per
// answer latency: answers received, wall time against the link limit (exchanges ×
// latency), overhead per exchange, and CPU time as a share of wall time; and what one
// lost answer costs.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "config/core/command_exchange.h"
#include "config/core/transfer_sequences.h"
#include "device/tavrel_library.h"
#include "device/tavrel_report_port.h"
#include "report/clock.h"

namespace {

using namespace orvane;
using namespace std::chrono_literals;

constexpr uint32_t kInterfaceVendor = 0x537F;
constexpr uint32_t kInterfaceProduct = 0x6425;
constexpr config::ReportLengths kLengths{8, 18};
constexpr int kRuns = 5;

struct Device {
    const char* serial;
    double latencyMs;
    const char* extra;
};

constexpr Device kDevices[] = {
    {"L10", 1.0, ""}, {"L15", 1.5, ""},         {"L20", 2.0, ""},
    {"L30", 3.0, ""}, {"D10", 1.0, ":drop=20"},
};

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Run {
    double wallMs = 0;
    double cpuMs = 0;
    int exchanges = 0;
    int answered = 0;
};

Run runSteps(report::ReportPort& port, const std::vector<config::SequenceStep>& steps,
             config::Configuration& record) {
    report::SteadyClock clock;
    Run run;
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    config::runSequence(steps,
                        [&](std::string_view text) {
                            const auto request = std::get<report::ReportBuffer>(
                                config::buildRequest("F9", text, kLengths));
                            const auto out =
                                config::runCommand(port, clock, request, kLengths, true, record);
                            ++run.exchanges;
                            run.answered += out.answered ? 1 : 0;
                        },
                        {});
    run.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    run.cpuMs = (cpuSeconds() - cpu0) * 1000.0;
    return run;
}

config::Configuration distinctive() {
    config::Configuration c;
    c.axisChannel = {3, 1, 4, 8, 5, 2, 6, 7};
    c.axisInvert = {true, false, true, true, false, false, true, false};
    c.buttonChannel = {8, 7, 6, 5, 4, 3, 2, 1};
    c.buttonThreshold = {10, 20, 30, 162, 95, 200, 225, 255};
    c.buttonActive = {true, true, false, true, false, true, true, false};
    for (std::size_t f = 0; f < c.mixers.tables.size(); ++f)
        for (std::size_t m = 0; m < 8; ++m)
            c.mixers.tables[f][m] = static_cast<int16_t>((f * 8 + m) * 5 + 1);
    c.option = {false, true};
    c.decodingMode = 1;
    return c;
}

void print(const char* what, double latencyMs, const std::vector<Run>& runs, const char* received) {
    double wall = 0, cpu = 0;
    int exchanges = 0;
    for (const Run& r : runs) {
        wall += r.wallMs;
        cpu += r.cpuMs;
        exchanges = r.exchanges;
    }
    wall /= static_cast<double>(runs.size());
    cpu /= static_cast<double>(runs.size());
    const double limit = exchanges * latencyMs;
    std::printf("%-8s latency %.1f ms: %s, wall %.1f ms = %.3f x link limit %.1f ms, "
                "overhead %.3f ms/exchange, CPU %.1f %% of wall\n",
                what, latencyMs, received, wall, wall / limit, limit, (wall - limit) / exchanges,
                100.0 * cpu / wall);
}

} // namespace

int main() {
    std::string devices;
    for (const Device& d : kDevices) {
        if (!devices.empty()) devices += ",";
        devices += "interface:serial=" + std::string(d.serial) +
                   ":latency_ms=" + std::to_string(d.latencyMs) + d.extra;
    }
    setenv("TAVREL_EMULATOR", devices.c_str(), 1);
    unsetenv("TAVREL_EMULATOR_STATE");

    TavrelLibrary tavrel;
    TavrelReportPort port(tavrel);
    const config::Configuration wanted = distinctive();
    double loadWithoutLoss = 0;
    for (const Device& d : kDevices) {
        if (tavrel.Open(kInterfaceVendor, kInterfaceProduct, nullptr, d.serial, nullptr, 1) != 1) {
            std::fprintf(stderr, "interface %s did not open\n", d.serial);
            return 1;
        }
        const bool lossy = std::string(d.extra).find("drop") != std::string::npos;
        std::vector<Run> transmits, loads;
        int itemsOk = 0;
        int lost = 0;
        for (int i = 0; i < kRuns; ++i) {
            std::this_thread::sleep_for(1s); // idle: the joystick stream fills the queue
            config::Configuration sent = wanted;
            transmits.push_back(runSteps(port, config::transmitSequence(sent), sent));
            std::this_thread::sleep_for(1s);
            config::Configuration read;
            loads.push_back(runSteps(port, config::loadSequence(), read));
            itemsOk += read == wanted ? 1 : 0;
            lost += loads.back().exchanges - loads.back().answered;
        }
        tavrel.CloseRead();
        tavrel.CloseWrite();

        if (lossy) {
            double wall = 0;
            for (const Run& r : loads)
                wall += r.wallMs;
            wall /= kRuns;
            std::printf("lost answer at latency %.1f ms: %d lost in %d loads, each costs %.1f ms\n",
                        d.latencyMs, lost, kRuns,
                        lost > 0 ? (wall - loadWithoutLoss) * kRuns / lost : 0.0);
            continue;
        }
        int answered = 0, exchanges = 0;
        for (const Run& r : transmits) {
            answered += r.answered;
            exchanges += r.exchanges;
        }
        const std::string transmitted =
            "answers " + std::to_string(answered) + "/" + std::to_string(exchanges);
        print("Transmit", d.latencyMs, transmits, transmitted.c_str());
        answered = exchanges = 0;
        for (const Run& r : loads) {
            answered += r.answered;
            exchanges += r.exchanges;
        }
        const std::string received = "answers " + std::to_string(answered) + "/" +
                                     std::to_string(exchanges) + ", all items in " +
                                     std::to_string(itemsOk) + "/" + std::to_string(kRuns);
        print("Load", d.latencyMs, loads, received.c_str());
        if (d.latencyMs == 1.0) {
            for (const Run& r : loads)
                loadWithoutLoss += r.wallMs / kRuns;
        }
    }
    return 0;
}
