// Which of a listed device's texts pick it out again when it is opened. A known interface
// opens by its ids alone while it is the only one listed with them, so that one whose
// strings change between openings still opens; once two are listed with the same ids, the
// texts must choose between them.
#ifndef ORVANE_DEVICE_OPEN_CHOICE_H
#define ORVANE_DEVICE_OPEN_CHOICE_H

#include <span>
#include <string_view>

namespace orvane {

struct DeviceTexts {
    std::string_view manufacturer;
    std::string_view serialNumber;
    std::string_view product;
};

// The texts to hand to Open; the others are left absent.
struct OpenTexts {
    bool manufacturer = false;
    bool serialNumber = false;
    bool product = false;
};

// known: the device's ids are one of the maker's interfaces. samePair: the texts of every
// listed device with the same ids, the device itself included. A device that is not known
// opens by all its texts; a known one listed once by its ids; a known one listed more than
// once by its serial number when no other of them has it, else by all its texts.
OpenTexts openTexts(bool known, const DeviceTexts& device, std::span<const DeviceTexts> samePair);

} // namespace orvane

#endif
