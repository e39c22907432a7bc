// The system's device events: udev's monitor of the hidraw subsystem, read when its socket
// becomes readable. No polling; nothing runs while no device is plugged.
#ifndef ORVANE_APP_UDEV_DEVICE_MONITOR_H
#define ORVANE_APP_UDEV_DEVICE_MONITOR_H

#include <QObject>

#include <memory>
#include <string>

#include "app/device_monitor.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace orvane {

struct UdevUnref {
    void operator()(udev* context) const;
};
struct UdevMonitorUnref {
    void operator()(udev_monitor* monitor) const;
};
using UdevContext = std::unique_ptr<udev, UdevUnref>;
using UdevMonitorHandle = std::unique_ptr<udev_monitor, UdevMonitorUnref>;

class UdevDeviceMonitor : public QObject, public DeviceMonitor {
    Q_OBJECT
public:
    // Null when udev's monitor cannot be had (no netlink socket, e.g. in some containers).
    static std::unique_ptr<UdevDeviceMonitor> create(QObject* parent = nullptr);
    ~UdevDeviceMonitor() override;

    void start(Changed changed) override;

private:
    UdevDeviceMonitor(UdevContext context, UdevMonitorHandle monitor, QObject* parent);
    void readEvents();

    // Released in reverse: the notifier before the socket it watches, the monitor before
    // its context.
    UdevContext context_;
    UdevMonitorHandle monitor_;
    std::unique_ptr<QSocketNotifier> notifier_;
    Changed changed_;
};

} // namespace orvane

#endif
