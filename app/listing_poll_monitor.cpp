#include "app/listing_poll_monitor.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <vector>

#include "device/tavrel_api.h"

namespace orvane {

namespace {

constexpr int32_t kListMax = 128;

std::string bufferText(const std::array<char, 50>& buffer) {
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

} // namespace

std::string listingSignature(TavrelApi& tavrel) {
    std::vector<std::array<char, 50>> texts(kListMax * 3);
    std::vector<DeviceListEntry> records(kListMax);
    for (int i = 0; i < kListMax; ++i) {
        records[i].product = texts[i * 3].data();
        records[i].manufacturer = texts[i * 3 + 1].data();
        records[i].serialNumber = texts[i * 3 + 2].data();
    }
    int32_t n = 0;
    try {
        n = tavrel.GetList(TAVREL_ANY_ID, TAVREL_ANY_ID, nullptr, nullptr, nullptr, records.data(),
                           kListMax);
    } catch (const std::exception&) {
        return {}; // no library: nothing to follow
    }
    std::string signature;
    for (int32_t i = 0; i < std::min(n, kListMax); ++i) {
        const DeviceListEntry& e = records[i];
        signature += std::to_string(e.vendorId) + ':' + std::to_string(e.productId) + ':' +
                     bufferText(texts[i * 3]) + ':' + bufferText(texts[i * 3 + 1]) + ':' +
                     bufferText(texts[i * 3 + 2]) + ':' + std::to_string(e.inputReportLength) +
                     ':' + std::to_string(e.outputReportLength) + '\n';
    }
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
