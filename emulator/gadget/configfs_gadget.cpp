#include "configfs_gadget.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace emu::gadget {

namespace fs = std::filesystem;

namespace {

const fs::path kGadgets = "/sys/kernel/config/usb_gadget";

// configfs attributes take one write of the whole value; a stream could split it.
void writeAttribute(const fs::path& path, std::span<const uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), path.string());
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    const int error = errno;
    ::close(fd);
    if (n != static_cast<ssize_t>(bytes.size()))
        throw std::system_error(n < 0 ? error : EIO, std::generic_category(), path.string());
}

void writeAttribute(const fs::path& path, const std::string& text) {
    writeAttribute(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string hex4(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", value);
    return text;
}

std::string utf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void makeFolder(const fs::path& path) {
    std::error_code error;
    fs::create_directory(path, error);
    if (error) throw std::system_error(error, path.string());
}

} // namespace

std::string firstUdc() {
    std::error_code error;
    std::string first;
    for (const auto& entry : fs::directory_iterator("/sys/class/udc", error)) {
        const std::string name = entry.path().filename().string();
        if (first.empty() || name < first) first = name;
    }
    return first;
}

ConfigfsGadget::ConfigfsGadget(std::string name, std::string udc)
    : root_(kGadgets / name), function_(root_ / "functions" / "hid.usb0"),
      config_(root_ / "configs" / "c.1"), udc_(std::move(udc)) {
    if (!fs::is_directory(kGadgets))
        throw std::runtime_error(kGadgets.string() +
                                 " is missing: configfs not mounted or libcomposite not loaded");
    if (fs::exists(root_)) throw std::runtime_error(root_.string() + " exists already");
    makeFolder(root_);
    writeAttribute(root_ / "bcdUSB", std::string("0x0200"));
    writeAttribute(root_ / "bcdDevice", std::string("0x0100"));
    makeFolder(root_ / "strings" / "0x409");
    makeFolder(config_);
    makeFolder(config_ / "strings" / "0x409");
    writeAttribute(config_ / "strings" / "0x409" / "configuration", std::string("HID"));
    writeAttribute(config_ / "MaxPower", std::string("100"));
    makeFolder(function_);
}

ConfigfsGadget::~ConfigfsGadget() {
    try {
        unbind();
        unlink();
    } catch (const std::exception&) {
        // Leaving folders behind is all that can go wrong here.
    }
    std::error_code ignored;
    for (const fs::path& p :
         {function_, config_ / "strings" / "0x409", config_, root_ / "strings" / "0x409", root_})
        fs::remove(p, ignored);
}

void ConfigfsGadget::link() {
    if (linked_) return;
    fs::create_symlink(function_, config_ / function_.filename());
    linked_ = true;
}

void ConfigfsGadget::unlink() {
    if (!linked_) return;
    fs::remove(config_ / function_.filename());
    linked_ = false;
}

void ConfigfsGadget::describe(const ListedDevice& device,
                              std::span<const uint8_t> reportDescriptor) {
    unbind();
    // The function's attributes are locked while it is part of a configuration.
    unlink();
    writeAttribute(root_ / "idVendor", hex4(device.vid));
    writeAttribute(root_ / "idProduct", hex4(device.pid));
    const fs::path strings = root_ / "strings" / "0x409";
    writeAttribute(strings / "manufacturer", utf8(device.manufacturer));
    writeAttribute(strings / "product", utf8(device.product));
    writeAttribute(strings / "serialnumber", utf8(device.serial));
    writeAttribute(function_ / "protocol", std::string("0"));
    writeAttribute(function_ / "subclass", std::string("0"));
    writeAttribute(function_ / "report_length",
                   std::to_string(std::max(device.inLen, device.outLen)));
    writeAttribute(function_ / "report_desc", reportDescriptor);
    link();
}

void ConfigfsGadget::bind() {
    if (bound_) return;
    writeAttribute(root_ / "UDC", udc_);
    bound_ = true;
}

void ConfigfsGadget::unbind() {
    if (!bound_) return;
    writeAttribute(root_ / "UDC", std::string("\n"));
    bound_ = false;
}

fs::path ConfigfsGadget::hidgPath() const {
    std::ifstream in(function_ / "dev");
    std::string numbers;
    in >> numbers; // major:minor
    const auto colon = numbers.find(':');
    if (colon == std::string::npos)
        throw std::runtime_error("no character device for " + function_.string());
    return "/dev/hidg" + numbers.substr(colon + 1);
}

} // namespace emu::gadget
