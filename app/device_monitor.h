// Watches for HID devices coming and going, so that the device list can follow plugging.
// The main window only hears that something changed; it lists the devices itself.
#ifndef ORVANE_APP_DEVICE_MONITOR_H
#define ORVANE_APP_DEVICE_MONITOR_H

#include <functional>

namespace orvane {

class DeviceMonitor {
public:
    using Changed = std::function<void()>;
    virtual ~DeviceMonitor() = default;
    // From now on calls changed on the user-interface thread after devices came or went.
    // One plugging may call it several times in a row (one call per HID interface).
    virtual void start(Changed changed) = 0;
};

} // namespace orvane

#endif
