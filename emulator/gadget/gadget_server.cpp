// orvane-gadget: the interface model served as a real USB HID gadget, so that the host's
// own USB and HID stack (usbhid, hidraw) meets it as it meets the device.
//
//   orvane-gadget [--udc NAME] [--name NAME] [--unplug-at-request N] [--trace] [DEVICE]
//
// DEVICE is one entry as in TAVREL_EMULATOR (default: the first entry of TAVREL_EMULATOR,
// else "interface"); its ids, strings, lengths, timing and fault keys apply, and the state
// is kept in TAVREL_EMULATOR_STATE when that is set. A restart into the other mode is a
// real re-enumeration: the gadget is unbound, takes the other mode's ids and descriptor and
// is bound again when the model comes back after reboot_ms. A model that leaves the bus
// (unplug_after_ms, replug_after_ms) unbinds the gadget likewise.
//
// Signals: SIGUSR1 pulls the plug (unbind), SIGUSR2 plugs it in again (the model restarts
// as a replugged device), SIGTERM and SIGINT end the server and remove the gadget.
// --unplug-at-request N pulls the plug as the Nth output report of the server's life
// arrives: the model never sees it, so its answer never comes. --trace writes every report
// but the joystick reports to stderr, with a time in milliseconds.
#include "configfs_gadget.h"
#include "hidg_session.h"
#include "report_descriptor.h"

#include "emulator/bus.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace emu::gadget {
namespace {

using namespace std::chrono_literals;

struct Options {
    std::string device = "interface";
    std::string udc;
    std::string name = "orvane";
    long unplugAtRequest = 0;
    bool trace = false;
};

int usage() {
    std::fputs("usage: orvane-gadget [--udc NAME] [--name NAME] [--unplug-at-request N] "
               "[DEVICE]\n",
               stderr);
    return 2;
}

// What the signals ask for; the signal thread writes, the serving loop reads.
struct Control {
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<bool> stopSession{false};
    bool terminate = false;
    bool unplugged = false; // the plug is pulled until a replug
    bool replug = false;

    void pullPlug() {
        std::lock_guard lock(mutex);
        unplugged = true;
        stopSession = true;
        changed.notify_all();
    }
};

void watchSignals(Control& control, sigset_t set) {
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) continue;
        std::lock_guard lock(control.mutex);
        if (signal == SIGUSR1) {
            control.unplugged = true;
        } else if (signal == SIGUSR2) {
            control.replug = true;
        } else {
            control.terminate = true;
        }
        control.stopSession = true;
        control.changed.notify_all();
        if (control.terminate) return;
    }
}

bool sameEnumeration(const ListedDevice& a, const ListedDevice& b) {
    return a.vid == b.vid && a.pid == b.pid && a.mode == b.mode && a.inLen == b.inLen &&
           a.outLen == b.outLen && a.product == b.product;
}

// The character device appears a moment after the bind.
int openHidg(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT) return fd;
        std::this_thread::sleep_for(10ms);
    }
    return -1;
}

void report(const char* what, const ListedDevice& d) {
    std::printf("orvane-gadget: %s %04x:%04x (%s mode, %d/%d)\n", what, d.vid, d.pid,
                d.mode == Kind::Interface ? "normal" : "boot-loader", d.inLen, d.outLen);
    std::fflush(stdout);
}

int run(const Options& options) {
    std::string error;
    const auto entries = parseDeviceList(options.device, &error);
    if (!entries || entries->empty()) {
        std::fprintf(stderr, "orvane-gadget: %s\n",
                     error.empty() ? "no device given" : error.c_str());
        return 2;
    }
    const char* state = std::getenv("TAVREL_EMULATOR_STATE");
    // Who may open the gadget is the hidraw node's permission, not the model's.
    DeviceEntry entry = entries->front();
    entry.locked = false;
    Bus bus({entry}, state ? state : "");
    const std::string udc = options.udc.empty() ? firstUdc() : options.udc;
    if (udc.empty()) {
        std::fputs("orvane-gadget: no USB device controller (load dummy_hcd)\n", stderr);
        return 1;
    }

    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGUSR2})
        sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    Control control;
    std::thread signals(watchSignals, std::ref(control), set);
    signals.detach(); // ends at the terminating signal; the process may end first

    ConfigfsGadget gadget(options.name, udc);
    std::optional<ListedDevice> described;
    SessionCounters counters;
    if (options.trace) counters.trace = stderr;
    for (;;) {
        {
            std::unique_lock lock(control.mutex);
            if (control.terminate) break;
            if (control.replug) {
                control.replug = false;
                control.unplugged = false;
                lock.unlock();
                // A new plug-in: the model starts over from its stored state.
                const auto listed = bus.list();
                bus.replug(listed.empty() ? "emu:0" : listed.front().path);
                continue;
            }
            if (control.unplugged) {
                control.changed.wait(lock);
                continue;
            }
            control.stopSession = false;
        }
        const auto listed = bus.list();
        if (listed.empty()) { // restarting or unplugged by a fault key
            std::unique_lock lock(control.mutex);
            control.changed.wait_for(lock, 2ms);
            continue;
        }
        const ListedDevice& device = listed.front();
        if (!described || !sameEnumeration(*described, device)) {
            gadget.describe(device, reportDescriptor(device.mode, device.inLen, device.outLen));
            described = device;
        }
        auto port = bus.open(device.path);
        if (!port) {
            std::this_thread::sleep_for(2ms);
            continue;
        }
        gadget.bind();
        report("plugged in", device);
        const int fd = openHidg(gadget.hidgPath().string());
        if (fd < 0) {
            std::fprintf(stderr, "orvane-gadget: cannot open %s: %s\n", gadget.hidgPath().c_str(),
                         std::strerror(errno));
            return 1;
        }
        const auto onRequest = [&](long number) {
            if (options.unplugAtRequest <= 0 || number != options.unplugAtRequest) return true;
            control.pullPlug();
            return false;
        };
        serve(fd, *port, control.stopSession, onRequest, counters);
        ::close(fd);
        port.reset();
        gadget.unbind();
        report("pulled out", device);
    }
    std::printf("orvane-gadget: %ld requests, %ld answers, %ld joystick reports sent, %ld "
                "skipped while the host was not polling, %ld sent 25 ms or more after the "
                "one before\n",
                counters.requests, counters.answers, counters.joystickSent,
                counters.joystickSkipped, counters.joystickLate);
    return 0;
}

} // namespace
} // namespace emu::gadget

int main(int argc, char** argv) {
    emu::gadget::Options options;
    if (const char* env = std::getenv("TAVREL_EMULATOR"); env && *env) {
        const std::string all = env;
        options.device = all.substr(0, all.find(','));
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--udc" && hasValue)
            options.udc = argv[++i];
        else if (arg == "--name" && hasValue)
            options.name = argv[++i];
        else if (arg == "--trace")
            options.trace = true;
        else if (arg == "--unplug-at-request" && hasValue)
            options.unplugAtRequest = std::strtol(argv[++i], nullptr, 10);
        else if (!arg.starts_with("-"))
            options.device = arg;
        else
            return emu::gadget::usage();
    }
    try {
        return emu::gadget::run(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-gadget: %s\n", e.what());
        return 1;
    }
}
