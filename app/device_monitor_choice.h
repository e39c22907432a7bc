// Which device monitor the program runs: udev's monitor on a real system, the listing
// asked at intervals for the emulated interface (which sends no system events) or where
// udev's monitor cannot be had. ORVANE_DEVICE_MONITOR=udev, poll or off overrides the
// choice (a test on real devices names udev; off leaves the list to the Refresh button).
#ifndef ORVANE_APP_DEVICE_MONITOR_CHOICE_H
#define ORVANE_APP_DEVICE_MONITOR_CHOICE_H

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/device_monitor.h"

namespace orvane {

class TavrelApi;

enum class DeviceMonitorKind { Udev, Poll, Off };

// The choice from the two variables' values (unset: nullopt). An unknown override counts
// as unset.
DeviceMonitorKind chooseDeviceMonitor(const std::optional<std::string>& override,
                                      const std::optional<std::string>& emulator);

inline constexpr std::chrono::milliseconds kListingPollInterval{500};

// The monitor of that kind; a udev monitor that cannot be had falls back to polling.
// Null for Off.
std::unique_ptr<DeviceMonitor> makeDeviceMonitor(DeviceMonitorKind kind, TavrelApi& tavrel);

} // namespace orvane

#endif
