// Stand-in for builds without the emulator: TAVREL_EMULATOR then lists nothing, so that a
// test set-up never reaches real devices by mistake.
#include "backend.h"

namespace tavrel {

namespace {

class AbsentEmulator final : public Backend {
public:
    std::optional<std::vector<DeviceInfo>> enumerate(std::size_t) override {
        return std::vector<DeviceInfo>{};
    }
    std::unique_ptr<DeviceHandle> open(const DeviceInfo&, Access) override { return nullptr; }
};

} // namespace

std::unique_ptr<Backend> makeEmulatedBackend(std::string_view, std::string) {
    return std::make_unique<AbsentEmulator>();
}

} // namespace tavrel
