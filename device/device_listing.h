// What the library lists, as plain values: the text buffers GetList fills are set up and
// read in one place.
#ifndef ORVANE_DEVICE_DEVICE_LISTING_H
#define ORVANE_DEVICE_DEVICE_LISTING_H

#include <string>
#include <vector>

#include "device/tavrel_api.h"

namespace orvane {

struct ListedDevice {
    int vendorId = 0;
    int productId = 0;
    std::string product;
    std::string manufacturer;
    std::string serialNumber;
    int inputReportLength = 0;
    int outputReportLength = 0;
};

// Every device the current library object lists (up to 128); a failed call lists none.
std::vector<ListedDevice> listDevices(TavrelApi& tavrel);

} // namespace orvane

#endif
