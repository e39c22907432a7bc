// The keys of a TAVREL_EMULATOR entry beyond the common ones, read from
// DeviceEntry::extra. parseDeviceList checks them, so reading them here cannot fail.
#ifndef EMULATOR_DEVICE_OPTIONS_H
#define EMULATOR_DEVICE_OPTIONS_H

#include "emulator/bus.h"
#include "emulator/joystick.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace emu {

// How a full input queue of an open handle behaves: the Linux kernel keeps what it has
// and drops the new report; Windows drops its oldest report to make room.
enum class QueuePolicy { Linux, Windows };

// Reports the Linux kernel keeps per open hidraw file: its ring of 64 keeps one slot free.
inline constexpr int kLinuxQueue = 63;

struct DeviceOptions {
    std::optional<Channels> channels; // channels=a/b/...: fixed R/C positions
    bool silent = false;              // silent=1: takes requests, never answers
    bool bareAnswers = false;         // bare_answers=1: boot-loader answers hold only
                                      // what the protocol promises
    // odd_values=1: the answers to the axis configuration and the decoding mode carry values
    // the interface cannot hold (channel 0 for axis 1, decoding mode 2)
    bool oddValues = false;
    std::optional<double> unplugAfterMs; // unplug_after_ms=N: leaves the bus N ms after plug-in
    std::optional<double> replugAfterMs; // replug_after_ms=N: leaves once, N ms after plug-in
    double awayMs = 500;                 // away_ms=N: how long a replug keeps it off the bus
    double rebootMs = 300;               // reboot_ms=N: time off the bus on a mode switch
    double joystickMs = 10;              // joy_ms=N: joystick report period, 0 for none
    // The signal model, for checking what a scope measures against a known truth.
    // noise=N or N1/.../N8: each axis alternates between its value and N counts beside it,
    // one step per transmitter frame.
    std::array<uint16_t, 8> noise{};
    double frameMs = 0;    // frame_ms=X: channel values change once per frame; 0: every report
    double gapEveryMs = 0; // gap_every_ms=X: every X ms ...
    double gapMs = 0;      // gap_ms=Y: ... no joystick report for Y ms,
    std::optional<double> gapFirstMs; // gap_first_ms=F: the first F ms after plug-in (else X)
    int gapCount = 0;                 // gap_count=N: N gaps in all (0: no end)
    QueuePolicy queuePolicy = QueuePolicy::Linux; // os=linux|windows
    int queue = kLinuxQueue;                      // queue=N: reports each open handle buffers
    // Answer faults, counted over the answers the device sends (0: none).
    int drop = 0;      // drop=N: every Nth answer is lost
    int dropOnce = 0;  // drop_once=N: only the Nth answer of the device's life is lost
    double loss = 0;   // loss=P: each answer is lost with probability P ...
    uint32_t seed = 1; // seed=S: ... drawn from a generator seeded with S
    double lateMs = 0; // late_ms=X: ... every late_every-th answer comes X ms late
    int lateEvery = 1; // late_every=N
    int duplicate = 0; // dup=N: every Nth answer arrives twice
    // Write faults, counted over the writes the device sees (0: none).
    int writeFail = 0;  // write_fail=N: every Nth write returns -1, nothing taken
    int writeShort = 0; // write_short=N: every Nth write returns fewer bytes, nothing taken
};

// Checks one extra key; returns an error text or nothing.
std::optional<std::string> checkOption(std::string_view key, std::string_view value);
// Reads the extra keys of a parsed entry.
DeviceOptions deviceOptions(const DeviceEntry& entry);

} // namespace emu

#endif
