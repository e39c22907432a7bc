#include "app/device_monitor_choice.h"

#include "app/listing_poll_monitor.h"
#include "app/udev_device_monitor.h"

namespace orvane {

DeviceMonitorKind chooseDeviceMonitor(const std::optional<std::string>& override,
                                      const std::optional<std::string>& emulator) {
    if (override == "udev") return DeviceMonitorKind::Udev;
    if (override == "poll") return DeviceMonitorKind::Poll;
    if (override == "off") return DeviceMonitorKind::Off;
    // The emulated devices live inside the library: the system never hears of them.
    return emulator ? DeviceMonitorKind::Poll : DeviceMonitorKind::Udev;
}

std::unique_ptr<DeviceMonitor> makeDeviceMonitor(DeviceMonitorKind kind, TavrelApi& tavrel) {
    if (kind == DeviceMonitorKind::Off) return nullptr;
    if (kind == DeviceMonitorKind::Udev)
        if (auto udev = UdevDeviceMonitor::create()) return udev;
    return std::make_unique<ListingPollMonitor>(tavrel, kListingPollInterval);
}

} // namespace orvane
