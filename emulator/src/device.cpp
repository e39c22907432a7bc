#include "device.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace emu {

namespace {

struct ModeDefaults {
    uint16_t vid;
    uint16_t pid;
    const char16_t* product;
    int inLen;
    int outLen;
    FirmwareVersion fw;
};

constexpr ModeDefaults kInterfaceDefaults{0x537F, 0x6425, u"ZT2960", 18, 8, {1, 3, 5}};
constexpr ModeDefaults kLoaderDefaults{0x5381, 0x640B, u"Loader", 22, 22, {1, 5, 0}};
constexpr const char16_t* kManufacturer = u"Tavrel";

// After a restart is decided the device stays on the bus this long, so that its
// acknowledgement can still be read.
constexpr auto kLeaveGrace = std::chrono::milliseconds(50);

// True for the Nth, 2Nth, ... event; never when every is 0.
bool nth(int every, long count) {
    return every > 0 && count % every == 0;
}

const ModeDefaults& defaults(Kind mode) {
    return mode == Kind::Interface ? kInterfaceDefaults : kLoaderDefaults;
}

Clock::duration milliseconds(double ms) {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(ms));
}

// odd_values: answers of the right shape whose values the interface cannot hold.
void spoilAnswer(std::vector<uint8_t>& answer) {
    if (answer.size() < 3 || answer[0] != 0xF9) return;
    if (answer[1] == 0x10) answer[2] &= 0xF0; // axis 1 on channel 0
    if (answer[1] == 0x1D) answer[2] = 2;     // a third decoding mode
}

FirmwareVersion firmwareOf(const DeviceEntry& entry, Kind mode) {
    return entry.kind == mode && entry.fw ? *entry.fw : defaults(mode).fw;
}

int lengthOf(const DeviceEntry& entry, Kind mode, bool input) {
    if (entry.kind == mode) {
        const auto& given = input ? entry.inLen : entry.outLen;
        if (given) return *given;
    }
    return input ? defaults(mode).inLen : defaults(mode).outLen;
}

} // namespace

Device::Device(const DeviceEntry& entry, int index, TimePoint now)
    : entry_(entry), options_(deviceOptions(entry)), path_("emu:" + std::to_string(index)),
      interface_(firmwareOf(entry, Kind::Interface)),
      loader_(firmwareOf(entry, Kind::Loader), lengthOf(entry, Kind::Loader, true)),
      mode_(entry.kind), random_(options_.seed) {
    // A generator of its own, so that the noise's phases leave the draws for loss alone.
    std::mt19937 phases(options_.seed);
    for (auto& p : noisePhase_)
        p = static_cast<uint8_t>(phases() & 1);
    // A device listed as a boot loader has its switch stored on, as after an update
    // was requested; its reset command clears it.
    interface_.state().stored.bootloaderEnable = entry.kind == Kind::Loader;
    loader_.setBareAnswers(options_.bareAnswers);
    plugIn(now);
    if (options_.replugAfterMs) replugAt_ = now + milliseconds(*options_.replugAfterMs);
}

int Device::inLen() const {
    return lengthOf(entry_, mode_, true);
}
int Device::outLen() const {
    return lengthOf(entry_, mode_, false);
}

Clock::duration Device::period() const {
    return milliseconds(options_.joystickMs);
}

ListedDevice Device::listing() const {
    const ModeDefaults& d = defaults(mode_);
    const bool own =
        entry_.kind == mode_; // the configured ids and name describe the kind's own mode
    ListedDevice l;
    l.path = path_;
    l.vid = own && entry_.vid ? *entry_.vid : d.vid;
    l.pid = own && entry_.pid ? *entry_.pid : d.pid;
    l.product = own && entry_.product ? *entry_.product : std::u16string(d.product);
    l.manufacturer = entry_.manufacturer.value_or(kManufacturer);
    l.serial = entry_.serial.value_or(u"EMU" + std::u16string(path_.begin() + 4, path_.end()));
    l.inLen = inLen();
    l.outLen = outLen();
    l.locked = entry_.locked;
    l.mode = mode_;
    return l;
}

Kind Device::bootMode() const {
    return interface_.state().stored.bootloaderEnable ? Kind::Loader : Kind::Interface;
}

Kind Device::lastingMode() const {
    return rebooting_ || arriveAt_ ? bootMode() : mode_;
}

void Device::plugIn(TimePoint at) {
    present_ = true;
    pluggedAt_ = at;
    arriveAt_.reset();
    rebooting_ = false;
    mode_ = bootMode();
    interface_.plugIn();
    loader_.plugIn();
    leaveAt_.reset();
    if (options_.unplugAfterMs) leaveAt_ = at + milliseconds(*options_.unplugAfterMs);
    nextTick_ = at;
    lastAnswerAt_.reset();
}

void Device::leave() {
    // Off the bus the device has no power: the next plug-in, in this process or the next
    // one, starts from the stored configuration.
    interface_.powerOff();
    for (const auto& q : queues_) {
        q->connected = false;
        q->inFlight.clear();
        q->readable.clear();
    }
    queues_.clear();
    present_ = false;
}

// Leaves the bus at the given time, after the reports due until then reached the queues.
void Device::leaveAt(TimePoint at) {
    generateJoystickReports(at);
    deliver(at);
    leave();
    leaveAt_.reset();
}

void Device::replug(TimePoint now) {
    advance(now);
    if (present_) leave();
    plugIn(now);
}

bool Device::advance(TimePoint now) {
    bool changed = false;
    for (;;) {
        // A replug due while the device is away anyway comes to nothing.
        if (!present_ && replugAt_ && *replugAt_ <= now && (!arriveAt_ || *replugAt_ < *arriveAt_))
            replugAt_.reset();
        const bool replugFirst = replugAt_ && (!leaveAt_ || *replugAt_ < *leaveAt_);
        if (present_ && replugFirst && *replugAt_ <= now) {
            const TimePoint at = *replugAt_;
            replugAt_.reset();
            leaveAt(at);
            rebooting_ = false;
            arriveAt_ = at + milliseconds(options_.awayMs);
            changed = true;
            continue;
        }
        if (present_ && leaveAt_ && *leaveAt_ <= now) {
            const TimePoint at = *leaveAt_;
            leaveAt(at);
            if (rebooting_) arriveAt_ = at + milliseconds(options_.rebootMs);
            changed = true;
            continue;
        }
        if (!present_ && arriveAt_ && *arriveAt_ <= now) {
            plugIn(*arriveAt_);
            changed = true;
            continue;
        }
        break;
    }
    if (present_) {
        generateJoystickReports(now);
        deliver(now);
    }
    return changed;
}

Channels Device::channelsAt(TimePoint t) const {
    if (options_.channels) return *options_.channels;
    // Slow, different sweeps per channel so that every axis moves in the monitor.
    const double seconds = std::chrono::duration<double>(t - pluggedAt_).count();
    Channels c{};
    for (int k = 0; k < 8; ++k) {
        const double phase = 2 * std::numbers::pi * seconds / (3.0 + k) + k;
        c[k] = static_cast<uint8_t>(std::lround(128 + 100 * std::sin(phase)));
    }
    return c;
}

bool Device::inGap(TimePoint t) const {
    if (options_.gapEveryMs <= 0 || options_.gapMs <= 0) return false;
    const Clock::duration every = milliseconds(options_.gapEveryMs);
    const Clock::duration first = milliseconds(options_.gapFirstMs.value_or(options_.gapEveryMs));
    const Clock::duration since = t - pluggedAt_;
    if (every.count() <= 0 || since < first) return false;
    if (options_.gapCount > 0 && (since - first) / every >= options_.gapCount) return false;
    return (since - first) % every < milliseconds(options_.gapMs);
}

// The channels hold still for a transmitter frame; each axis's noise steps once a frame,
// between its value and noise counts above it (below, where above would not fit), so that
// a scope's minimum, maximum and peak-to-peak are known exactly.
std::vector<uint8_t> Device::joystickReportAt(TimePoint t) const {
    const Clock::duration since = t - pluggedAt_;
    const Clock::duration frame = options_.frameMs > 0 ? milliseconds(options_.frameMs) : period();
    const long index = frame.count() > 0 ? static_cast<long>(since / frame) : 0;
    const TimePoint frameStart = options_.frameMs > 0 ? pluggedAt_ + index * frame : t;
    const auto report = joystickReport(interface_.state().working, channelsAt(frameStart));
    std::vector<uint8_t> bytes(report.begin(), report.end());
    for (std::size_t k = 0; k < options_.noise.size(); ++k) {
        const int n = options_.noise[k];
        if (n == 0 || ((index + noisePhase_[k]) & 1) == 0) continue;
        int value = bytes[1 + 2 * k] | (bytes[2 + 2 * k] << 8);
        value = value + n <= 65535 ? value + n : std::max(0, value - n);
        bytes[1 + 2 * k] = static_cast<uint8_t>(value & 0xFF);
        bytes[2 + 2 * k] = static_cast<uint8_t>(value >> 8);
    }
    bytes.resize(static_cast<std::size_t>(inLen()));
    return bytes;
}

void Device::generateJoystickReports(TimePoint now) {
    if (mode_ != Kind::Interface || options_.joystickMs <= 0) return;
    const Clock::duration step = period();
    if (queues_.empty()) {
        // Nobody listens: the next report is the first one after now.
        if (nextTick_ <= now) nextTick_ += ((now - nextTick_) / step + 1) * step;
        return;
    }
    // After a long quiet time only some of the reports due can reach the buffers: the
    // oldest ones when a full buffer drops new reports, the newest when it drops its oldest.
    const auto backlog = static_cast<long>(options_.queue) + 1;
    TimePoint until = now;
    if (const long due = nextTick_ <= now ? (now - nextTick_) / step + 1 : 0; due > backlog) {
        if (options_.queuePolicy == QueuePolicy::Windows)
            nextTick_ += (due - backlog) * step;
        else
            until = nextTick_ + (backlog - 1) * step;
    }
    for (; nextTick_ <= until; nextTick_ += step) {
        if (inGap(nextTick_)) continue;
        const std::vector<uint8_t> bytes = joystickReportAt(nextTick_);
        for (const auto& q : queues_) {
            if (q->openedAt > nextTick_) continue;
            auto at = std::upper_bound(
                q->inFlight.begin(), q->inFlight.end(), nextTick_,
                [](TimePoint t, const PortQueue::Pending& p) { return t < p.readyAt; });
            q->inFlight.insert(at, PortQueue::Pending{nextTick_, bytes});
        }
    }
    if (nextTick_ <= now) nextTick_ += ((now - nextTick_) / step + 1) * step; // all dropped
}

void Device::deliver(TimePoint now) {
    const auto capacity = static_cast<std::size_t>(options_.queue);
    const bool dropNewest = options_.queuePolicy == QueuePolicy::Linux;
    for (const auto& q : queues_) {
        while (!q->inFlight.empty() && q->inFlight.front().readyAt <= now) {
            if (!dropNewest || q->readable.size() < capacity)
                q->readable.push_back(std::move(q->inFlight.front().report));
            q->inFlight.pop_front();
            if (q->readable.size() > capacity) q->readable.pop_front(); // the oldest is lost
        }
    }
}

void Device::send(std::vector<uint8_t> report, TimePoint readyAt) {
    ++answers_;
    // Drawn for every answer, so that other keys do not shift which answers are lost.
    const bool lost = static_cast<double>(random_()) < options_.loss * 4294967296.0;
    const bool droppedOnce = options_.dropOnce > 0 && answers_ == options_.dropOnce;
    if (options_.silent || lost || droppedOnce || nth(options_.drop, answers_)) return;
    if (options_.lateMs > 0 && nth(options_.lateEvery, answers_))
        readyAt += milliseconds(options_.lateMs);
    // One endpoint, first in first out: an answer never overtakes a late one.
    if (lastAnswerAt_ && readyAt < *lastAnswerAt_) readyAt = *lastAnswerAt_;
    lastAnswerAt_ = readyAt;
    report.resize(static_cast<std::size_t>(inLen()));
    const int copies = nth(options_.duplicate, answers_) ? 2 : 1;
    for (const auto& q : queues_) {
        for (int c = 0; c < copies; ++c) {
            auto at = std::upper_bound(
                q->inFlight.begin(), q->inFlight.end(), readyAt,
                [](TimePoint t, const PortQueue::Pending& p) { return t < p.readyAt; });
            q->inFlight.insert(at, PortQueue::Pending{readyAt, report});
        }
    }
}

int Device::write(std::span<const uint8_t> report, TimePoint now, bool& changed) {
    changed = advance(now);
    if (!present_) return -1;
    if (report.empty()) return 0;
    const auto length = static_cast<std::size_t>(outLen());
    ++writes_;
    if (nth(options_.writeFail, writes_)) return -1;
    if (nth(options_.writeShort, writes_)) return static_cast<int>(length) - 1; // not taken
    std::vector<uint8_t> padded(length, 0);
    std::copy_n(report.begin(), std::min(report.size(), length), padded.begin());

    Reply reply = mode_ == Kind::Interface ? interface_.handle(padded) : loader_.handle(padded);
    if (options_.oddValues && mode_ == Kind::Interface) spoilAnswer(reply.answer);
    changed = changed || reply.stateChanged;
    const TimePoint readyAt = now + milliseconds(entry_.latencyMs);
    if (!reply.answer.empty()) send(std::move(reply.answer), readyAt);
    if (reply.reboot) {
        if (mode_ == Kind::Loader) {
            // Back to normal mode for good: the switch must not send it here again.
            interface_.state().stored.bootloaderEnable = false;
            interface_.state().working.bootloaderEnable = false;
            changed = true;
        }
        leaveAt_ = readyAt + kLeaveGrace;
        rebooting_ = true;
    }
    return static_cast<int>(length);
}

std::shared_ptr<PortQueue> Device::attach(TimePoint now) {
    advance(now);
    auto queue = std::make_shared<PortQueue>();
    queue->openedAt = now;
    queues_.push_back(queue);
    return queue;
}

void Device::detach(const std::shared_ptr<PortQueue>& queue) {
    std::erase(queues_, queue);
}

std::optional<TimePoint> Device::nextEvent() const {
    std::optional<TimePoint> next;
    auto consider = [&](TimePoint t) {
        if (!next || t < *next) next = t;
    };
    if (leaveAt_) consider(*leaveAt_);
    if (arriveAt_) consider(*arriveAt_);
    if (!present_) return next;
    if (replugAt_) consider(*replugAt_);
    for (const auto& q : queues_)
        if (!q->inFlight.empty()) consider(q->inFlight.front().readyAt);
    if (mode_ == Kind::Interface && options_.joystickMs > 0 && !queues_.empty())
        consider(nextTick_);
    return next;
}

void Device::restore(Kind mode, const InterfaceState& interface, const LoaderState& loader) {
    mode_ = mode;
    interface_.state() = interface;
    loader_.state() = loader;
}

} // namespace emu
