// The emulated USB bus: the R/C USB interface in normal mode and in boot-loader mode,
// modelled in software so that libtavrel, the program and the tests run without hardware.
// The device models themselves live in interface_model.h and loader_model.h.
#ifndef EMULATOR_BUS_H
#define EMULATOR_BUS_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

using Clock = std::chrono::steady_clock;

enum class Kind { Interface, Loader };

struct FirmwareVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// One entry of TAVREL_EMULATOR: kind[:key=value]...
struct DeviceEntry {
    Kind kind = Kind::Interface;
    std::optional<uint16_t> vid; // empty: the kind's own id
    std::optional<uint16_t> pid;
    std::optional<std::u16string> product; // device strings as the device reports them
    std::optional<std::u16string> manufacturer;
    std::optional<std::u16string> serial;
    std::optional<int> inLen; // report lengths, report id byte included
    std::optional<int> outLen;
    double latencyMs = 1.0;
    std::optional<FirmwareVersion> fw;
    bool locked = false;
    // Further keys (fault injection and the like) the parser does not know are kept here
    // so that device models can read them.
    std::vector<std::pair<std::string, std::string>> extra;
};

// Parses the whole TAVREL_EMULATOR value. Returns nothing and sets error on bad input.
std::optional<std::vector<DeviceEntry>> parseDeviceList(std::string_view text,
                                                        std::string* error = nullptr);

// What the bus shows of one device, as an enumeration would see it.
struct ListedDevice {
    std::string path; // stable while the device stays on the bus, e.g. "emu:0"
    uint16_t vid = 0;
    uint16_t pid = 0;
    std::u16string product;
    std::u16string manufacturer;
    std::u16string serial;
    int inLen = 0;  // input report length, report id byte included
    int outLen = 0; // output report length, report id byte included
    bool locked = false;
    Kind mode = Kind::Interface; // normal or boot-loader mode, as the device now runs
};

// An open handle on an emulated device. Each handle has its own input queue, as each
// open hidraw file or Windows handle has: it receives the reports that the device sends
// after the handle was opened.
class Port {
public:
    virtual ~Port() = default;
    // report[0] is the report id; the length is the device's output report length (a
    // shorter span is padded with zeros). Returns bytes written, -1 when the device left.
    virtual int write(std::span<const uint8_t> report) = 0;
    // Non-blocking: copies the oldest report that is readable by now (report id first)
    // into buf and returns its length; 0 when none is ready; -1 when the device left.
    virtual int read(std::span<uint8_t> buf) = 0;
    // Waits up to timeout (forever when empty) for a report; same results as read.
    virtual int readBlocking(std::span<uint8_t> buf,
                             std::optional<std::chrono::milliseconds> timeout) = 0;
    // True while the device this handle was opened on is still on the bus.
    virtual bool connected() const = 0;
};

// Writes the state file's whole text. The bus calls it on a thread of its own, one call at
// a time, never while it holds up the devices.
using StateWriter = std::function<void(const std::string& path, std::string_view text)>;

class Bus {
public:
    // statePath: file that keeps the device state across processes; empty for none.
    // writer: empty for the file written beside itself and renamed over.
    Bus(std::vector<DeviceEntry> entries, std::string statePath = {}, StateWriter writer = {});
    ~Bus();
    Bus(const Bus&) = delete;
    Bus& operator=(const Bus&) = delete;

    // The devices now on the bus, in a stable order (the order of TAVREL_EMULATOR).
    std::vector<ListedDevice> list();
    // nullptr when there is no such device, it is locked, or it is off the bus.
    std::unique_ptr<Port> open(std::string_view path);

    // Simulates pulling the device out and plugging it in again.
    void replug(std::string_view path);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace emu

#endif
