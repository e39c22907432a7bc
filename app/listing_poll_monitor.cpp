#include "app/listing_poll_monitor.h"

#include <exception>
#include <vector>

#include "device/device_listing.h"

namespace orvane {

std::string listingSignature(TavrelApi& tavrel) {
    std::vector<ListedDevice> devices;
    try {
        devices = listDevices(tavrel);
    } catch (const std::exception&) {
        return {}; // no library: nothing to follow
    }
    std::string signature;
    for (const ListedDevice& e : devices)
        signature += std::to_string(e.vendorId) + ':' + std::to_string(e.productId) + ':' +
                     e.product + ':' + e.manufacturer + ':' + e.serialNumber + ':' +
                     std::to_string(e.inputReportLength) + ':' +
                     std::to_string(e.outputReportLength) + '\n';
    return signature;
}

ListingPollMonitor::ListingPollMonitor(TavrelApi& tavrel, std::chrono::milliseconds interval,
                                       QObject* parent)
    : QObject(parent), tavrel_(tavrel) {
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &ListingPollMonitor::poll);
}

void ListingPollMonitor::start(Changed changed) {
    changed_ = std::move(changed);
    last_ = listingSignature(tavrel_);
    timer_.start();
}

void ListingPollMonitor::poll() {
    std::string now = listingSignature(tavrel_);
    if (now == last_) return;
    last_ = std::move(now);
    if (changed_) changed_();
}

} // namespace orvane
