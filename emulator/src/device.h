// One slot of the emulated bus: a device that can be plugged in, switch between normal
// and boot-loader mode, and feed the input queues of its open handles. Not thread-safe;
// the bus calls it with its lock held.
#ifndef EMULATOR_DEVICE_H
#define EMULATOR_DEVICE_H

#include "emulator/bus.h"
#include "emulator/device_options.h"
#include "emulator/interface_model.h"
#include "emulator/loader_model.h"

#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace emu {

using TimePoint = Clock::time_point;

// The input queue of one open handle.
struct PortQueue {
    struct Pending {
        TimePoint readyAt;
        std::vector<uint8_t> report;
    };
    TimePoint openedAt;
    bool connected = true;
    std::deque<Pending> inFlight;              // sent, not yet readable, by readyAt
    std::deque<std::vector<uint8_t>> readable; // the input buffer
};

class Device {
public:
    Device(const DeviceEntry& entry, int index, TimePoint now);

    // Brings the device up to the given time: leaving and returning, joystick reports,
    // answers becoming readable. Returns true when something worth saving changed.
    bool advance(TimePoint now);
    // Handles one output report; returns bytes taken. Sets changed when the state moved.
    int write(std::span<const uint8_t> report, TimePoint now, bool& changed);

    std::shared_ptr<PortQueue> attach(TimePoint now);
    void detach(const std::shared_ptr<PortQueue>& queue);
    bool hasHandles() const { return !queues_.empty(); }
    // Pulls the plug and plugs the device in again at once.
    void replug(TimePoint now);

    bool present() const { return present_; }
    bool locked() const { return entry_.locked; }
    const std::string& path() const { return path_; }
    ListedDevice listing() const;
    // When advance next has something to do; nothing when only a request can change it.
    std::optional<TimePoint> nextEvent() const;

    // State kept in the state file.
    Kind entryKind() const { return entry_.kind; }
    Kind mode() const { return mode_; }
    // The mode to keep: during a restart, the one the device comes back in.
    Kind lastingMode() const;
    void restore(Kind mode, const InterfaceState& interface, const LoaderState& loader);
    const InterfaceModel& interfaceModel() const { return interface_; }
    const LoaderModel& loaderModel() const { return loader_; }

private:
    Kind bootMode() const;
    int inLen() const;
    int outLen() const;
    void plugIn(TimePoint at);
    void leave();
    void leaveAt(TimePoint at);
    void generateJoystickReports(TimePoint now);
    void deliver(TimePoint now);
    void send(std::vector<uint8_t> report, TimePoint readyAt);
    Channels channelsAt(TimePoint t) const;
    // The signal model: whether a report due at t falls into a gap, and the report due then.
    bool inGap(TimePoint t) const;
    std::vector<uint8_t> joystickReportAt(TimePoint t) const;
    Clock::duration period() const;

    DeviceEntry entry_;
    DeviceOptions options_;
    std::string path_;
    InterfaceModel interface_;
    LoaderModel loader_;
    Kind mode_;
    bool present_ = false;
    TimePoint pluggedAt_;
    std::optional<TimePoint> leaveAt_;
    std::optional<TimePoint> arriveAt_;
    std::optional<TimePoint> replugAt_; // replug_after_ms: the one replug still to come
    bool rebooting_ = false;            // the pending leave is a restart, not an unplug
    TimePoint nextTick_;
    std::optional<TimePoint> lastAnswerAt_; // answers leave the device in order
    long answers_ = 0;                      // answer and write counts for the every-Nth faults
    long writes_ = 0;
    std::mt19937 random_;                 // for loss=P; seeded by seed=S, so runs repeat
    std::array<uint8_t, 8> noisePhase_{}; // which frames carry each axis's noise, from seed
    std::vector<std::shared_ptr<PortQueue>> queues_;
};

} // namespace emu

#endif
