// A USB HID gadget made through the kernel's configfs (libcomposite and usb_f_hid): one
// configuration with one HID function, bound to a USB device controller. Binding is
// plugging the device in, unbinding is pulling it out; what the host enumerates (ids,
// strings, report descriptor) can only change while it is unbound.
#ifndef EMULATOR_GADGET_CONFIGFS_GADGET_H
#define EMULATOR_GADGET_CONFIGFS_GADGET_H

#include "emulator/bus.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace emu::gadget {

class ConfigfsGadget {
public:
    // Creates the gadget's folders under configfs; throws std::runtime_error when the
    // kernel refuses (modules not loaded, name taken).
    ConfigfsGadget(std::string name, std::string udc);
    // Unbinds and removes everything it made.
    ~ConfigfsGadget();
    ConfigfsGadget(const ConfigfsGadget&) = delete;
    ConfigfsGadget& operator=(const ConfigfsGadget&) = delete;

    // Sets what the host will see at the next bind. Unbinds first.
    void describe(const ListedDevice& device, std::span<const uint8_t> reportDescriptor);
    void bind();
    void unbind();
    bool bound() const { return bound_; }
    // The gadget side's character device (/dev/hidgN) of the HID function.
    std::filesystem::path hidgPath() const;

private:
    void link();
    void unlink();

    std::filesystem::path root_;
    std::filesystem::path function_;
    std::filesystem::path config_;
    std::string udc_;
    bool bound_ = false;
    bool linked_ = false;
};

// The first USB device controller the kernel offers (for example dummy_udc.0), or empty.
std::string firstUdc();

} // namespace emu::gadget

#endif
