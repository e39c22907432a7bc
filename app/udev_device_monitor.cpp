#include "app/udev_device_monitor.h"

#include <QSocketNotifier>

#include <libudev.h>

#include <filesystem>

namespace orvane {

void UdevUnref::operator()(udev* context) const {
    udev_unref(context);
}

void UdevMonitorUnref::operator()(udev_monitor* monitor) const {
    udev_monitor_unref(monitor);
}

std::unique_ptr<UdevDeviceMonitor> UdevDeviceMonitor::create(QObject* parent) {
    UdevContext context(udev_new());
    if (!context) return nullptr;
    // "udev": events after udevd applied its rules, so a new node already carries the
    // permissions that let the program open it. Without a running udevd (a container, an
    // initramfs) only the kernel's own events come.
    const bool udevd = std::filesystem::exists("/run/udev/control");
    UdevMonitorHandle monitor(
        udev_monitor_new_from_netlink(context.get(), udevd ? "udev" : "kernel"));
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0)
        return nullptr;
    // The constructor is private, so make_unique cannot reach it.
    return std::unique_ptr<UdevDeviceMonitor>(
        new UdevDeviceMonitor(std::move(context), std::move(monitor), parent));
}

UdevDeviceMonitor::UdevDeviceMonitor(UdevContext context, UdevMonitorHandle monitor,
                                     QObject* parent)
    : QObject(parent), context_(std::move(context)), monitor_(std::move(monitor)) {}

UdevDeviceMonitor::~UdevDeviceMonitor() = default;

void UdevDeviceMonitor::start(Changed changed) {
    changed_ = std::move(changed);
    if (notifier_) return;
    notifier_ = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_.get()),
                                                  QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &UdevDeviceMonitor::readEvents);
}

void UdevDeviceMonitor::readEvents() {
    // Every waiting event is taken, so that the notifier does not fire again for them.
    bool cameOrWent = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_.get())) {
        const char* action = udev_device_get_action(device);
        const std::string a = action ? action : "";
        if (a == "add" || a == "remove") cameOrWent = true;
        udev_device_unref(device);
    }
    if (cameOrWent && changed_) changed_();
}

} // namespace orvane
