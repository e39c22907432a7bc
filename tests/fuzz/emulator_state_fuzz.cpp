// The emulator's state file lies in the user's state folder and may be damaged or edited.
#include "device.h"
#include "state_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::unique_ptr<emu::Device>> freshDevices() {
    const auto now = emu::Clock::now();
    std::vector<std::unique_ptr<emu::Device>> devices;
    emu::DeviceEntry interface;
    emu::DeviceEntry loader;
    loader.kind = emu::Kind::Loader;
    devices.push_back(std::make_unique<emu::Device>(interface, 0, now));
    devices.push_back(std::make_unique<emu::Device>(loader, 1, now));
    return devices;
}

std::string loadAndSave(const std::string& text) {
    auto devices = freshDevices();
    std::istringstream in(text);
    emu::loadState(in, devices);
    return emu::stateText(devices);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // Most inputs are refused as a whole and leave the factory state.
    static const std::string factory = loadAndSave("");
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Whatever was taken from the file is written out so that it reads back the same.
    const std::string saved = loadAndSave(text);
    if (saved != factory && loadAndSave(saved) != saved) std::abort();
    return 0;
}
