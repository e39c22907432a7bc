#include "emulator/bus.h"

#include "device.h"
#include "state_file.h"
#include "state_saver.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include <sys/prctl.h>

namespace emu {

namespace {

// A real device's answer wakes the waiting reader when it arrives; the emulator wakes it by
// a timer instead, which the kernel may fire late by the thread's timer slack (50 us by
// default). A slack of 1 ns keeps the emulated answer's timing close to a real one.
void tightenTimerSlack() {
    thread_local const bool tightened = ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)tightened;
}

// Saving the whole state after every exchange would cost more than the exchange itself
// (a firmware update makes thousands), so changes are saved at most this often while the
// device is busy, and at once when its last handle closes, the bus ends or the process exits.
// The lock is held only for the snapshot: the file is written by the saver's own thread.
constexpr auto kSaveInterval = std::chrono::milliseconds(250);

// Everything the bus and its handles share. Handles keep it alive, so a handle that
// outlives its bus only reports that its device is gone.
struct Core {
    std::mutex mutex;
    std::condition_variable changed; // new requests, devices leaving, the bus closing
    std::vector<std::unique_ptr<Device>> devices;
    std::string statePath;
    std::unique_ptr<StateSaver> saver; // only with a state file
    bool closed = false;
    bool unsaved = false; // the state changed since the file was last written
    std::optional<TimePoint> lastSave;

    Device* find(std::string_view path) {
        const auto it = std::find_if(devices.begin(), devices.end(),
                                     [&](const auto& d) { return d->path() == path; });
        return it == devices.end() ? nullptr : it->get();
    }
    // Brings every device up to now; saves a change when a save is due.
    void advanceAll(TimePoint now) {
        bool changed = false;
        for (const auto& d : devices)
            changed = d->advance(now) || changed;
        if (changed) noteChange();
        saveIfDue(now);
    }
    void noteChange() { unsaved = !statePath.empty(); }
    // When a pending change is to be saved; nothing when there is none.
    std::optional<TimePoint> saveDue() const {
        if (!unsaved) return std::nullopt;
        return lastSave ? *lastSave + kSaveInterval : TimePoint{};
    }
    void saveIfDue(TimePoint now) {
        if (const auto due = saveDue(); due && *due <= now) save(now);
    }
    // Also a device that left the bus since it was last looked at is saved as gone. Call
    // awaitSaved() after the lock is released to know the snapshot is in the file.
    void flush() {
        const TimePoint now = Clock::now();
        for (const auto& d : devices)
            if (d->advance(now)) noteChange();
        if (unsaved) save(now);
    }
    void save(TimePoint now) {
        saver->submit(stateText(devices));
        unsaved = false;
        lastSave = now;
    }
    // Without the lock: waits until the snapshots taken so far are written.
    void awaitSaved() {
        if (saver) saver->flush();
    }
};

// The buses of this process that keep a state file. A bus that is never destroyed (a
// library that stays loaded while the program holds a handle to the end) still saves its
// pending change when the process exits.
class StateKeepers {
public:
    static StateKeepers& instance() {
        static StateKeepers keepers;
        // Registered after the object above exists, so it runs before its destructor.
        static const bool registered = std::atexit([] { instance().flushAll(); }) == 0;
        (void)registered;
        return keepers;
    }
    void add(const std::shared_ptr<Core>& core) {
        std::lock_guard lock(mutex_);
        std::erase_if(cores_, [](const auto& c) { return c.expired(); });
        cores_.push_back(core);
    }
    void flushAll() {
        std::lock_guard lock(mutex_);
        for (const auto& weak : cores_) {
            if (const auto core = weak.lock()) {
                {
                    std::lock_guard coreLock(core->mutex);
                    core->flush();
                }
                core->awaitSaved();
            }
        }
    }

private:
    std::mutex mutex_;
    std::vector<std::weak_ptr<Core>> cores_;
};

class EmulatedPort final : public Port {
public:
    EmulatedPort(std::shared_ptr<Core> core, Device* device, std::shared_ptr<PortQueue> queue)
        : core_(std::move(core)), device_(device), queue_(std::move(queue)) {}

    ~EmulatedPort() override {
        {
            std::lock_guard lock(core_->mutex);
            if (core_->closed) return;
            device_->detach(queue_);
            if (device_->hasHandles()) return;
            core_->flush(); // the device was closed
        }
        core_->awaitSaved();
    }

    int write(std::span<const uint8_t> report) override {
        int result = -1;
        {
            std::lock_guard lock(core_->mutex);
            if (!live()) return -1;
            bool changed = false;
            const TimePoint now = Clock::now();
            result = device_->write(report, now, changed);
            if (changed) core_->noteChange();
            core_->saveIfDue(now);
        }
        core_->changed.notify_all(); // a reader may now have an earlier wake-up
        return result;
    }

    int read(std::span<uint8_t> buf) override {
        std::lock_guard lock(core_->mutex);
        return take(buf, Clock::now());
    }

    int readBlocking(std::span<uint8_t> buf,
                     std::optional<std::chrono::milliseconds> timeout) override {
        tightenTimerSlack();
        std::unique_lock lock(core_->mutex);
        const TimePoint start = Clock::now();
        const std::optional<TimePoint> deadline =
            timeout ? std::optional<TimePoint>(start + *timeout) : std::nullopt;
        for (;;) {
            const TimePoint now = Clock::now();
            const int result = take(buf, now);
            if (result != 0) return result;
            if (deadline && now >= *deadline) return 0;
            std::optional<TimePoint> wake = deadline;
            for (const auto& next : {device_->nextEvent(), core_->saveDue()})
                if (next && (!wake || *next < *wake)) wake = next;
            if (wake)
                core_->changed.wait_until(lock, *wake);
            else
                core_->changed.wait(lock);
        }
    }

    bool connected() const override {
        std::lock_guard lock(core_->mutex);
        return live();
    }

private:
    bool live() const {
        if (core_->closed) return false;
        // Time may have moved the device off the bus since the last call.
        core_->advanceAll(Clock::now());
        return queue_->connected;
    }

    // With the lock held: the oldest readable report, 0 or -1.
    int take(std::span<uint8_t> buf, TimePoint now) {
        if (core_->closed) return -1;
        core_->advanceAll(now);
        if (!queue_->connected) return -1;
        if (queue_->readable.empty()) return 0;
        const std::vector<uint8_t> report = std::move(queue_->readable.front());
        queue_->readable.pop_front();
        const std::size_t n = std::min(report.size(), buf.size());
        std::copy_n(report.begin(), n, buf.begin());
        return static_cast<int>(n);
    }

    std::shared_ptr<Core> core_;
    Device* device_;
    std::shared_ptr<PortQueue> queue_;
};

} // namespace

struct Bus::Impl {
    std::shared_ptr<Core> core = std::make_shared<Core>();
};

Bus::Bus(std::vector<DeviceEntry> entries, std::string statePath, StateWriter writer)
    : impl_(std::make_unique<Impl>()) {
    Core& core = *impl_->core;
    const TimePoint now = Clock::now();
    for (std::size_t i = 0; i < entries.size(); ++i)
        core.devices.push_back(std::make_unique<Device>(entries[i], static_cast<int>(i), now));
    core.statePath = std::move(statePath);
    if (!core.statePath.empty()) {
        loadState(core.statePath, core.devices);
        core.saver = std::make_unique<StateSaver>(core.statePath, std::move(writer));
        StateKeepers::instance().add(impl_->core);
    }
}

Bus::~Bus() {
    {
        std::lock_guard lock(impl_->core->mutex);
        impl_->core->flush();
        impl_->core->closed = true;
    }
    impl_->core->changed.notify_all();
    impl_->core->awaitSaved();
}

std::vector<ListedDevice> Bus::list() {
    std::lock_guard lock(impl_->core->mutex);
    Core& core = *impl_->core;
    core.advanceAll(Clock::now());
    std::vector<ListedDevice> listed;
    for (const auto& d : core.devices)
        if (d->present()) listed.push_back(d->listing());
    return listed;
}

std::unique_ptr<Port> Bus::open(std::string_view path) {
    std::lock_guard lock(impl_->core->mutex);
    Core& core = *impl_->core;
    const TimePoint now = Clock::now();
    core.advanceAll(now);
    Device* device = core.find(path);
    if (!device || !device->present() || device->locked()) return nullptr;
    return std::make_unique<EmulatedPort>(impl_->core, device, device->attach(now));
}

void Bus::replug(std::string_view path) {
    {
        std::lock_guard lock(impl_->core->mutex);
        Core& core = *impl_->core;
        Device* device = core.find(path);
        if (!device) return;
        device->replug(Clock::now());
        core.noteChange();
        core.flush();
    }
    impl_->core->changed.notify_all();
}

} // namespace emu
