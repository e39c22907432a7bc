// Device changes seen by asking the library's listing at intervals: for the emulated
// interface, whose devices come and go without any system event, and where udev's monitor
// cannot be had. Only the listing is asked; no device is opened.
#ifndef ORVANE_APP_LISTING_POLL_MONITOR_H
#define ORVANE_APP_LISTING_POLL_MONITOR_H

#include <QObject>
#include <QTimer>

#include <chrono>
#include <string>

#include "app/device_monitor.h"

namespace orvane {

class TavrelApi;

// The listing as one comparable text: ids, strings and report lengths of every entry;
// empty when the library cannot list.
std::string listingSignature(TavrelApi& tavrel);

class ListingPollMonitor : public QObject, public DeviceMonitor {
    Q_OBJECT
public:
    ListingPollMonitor(TavrelApi& tavrel, std::chrono::milliseconds interval,
                       QObject* parent = nullptr);
    void start(Changed changed) override;
    // One look at the listing; calls changed when it differs from the last look.
    void poll();

private:
    TavrelApi& tavrel_;
    QTimer timer_;
    std::string last_;
    Changed changed_;
};

} // namespace orvane

#endif
