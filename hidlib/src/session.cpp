#include "session.h"

#include <cstdlib>
#include <string>

namespace tavrel {

namespace {

// Lists nothing and opens nothing; stands in when no back end could be made.
class NoDevices final : public Backend {
public:
    std::optional<std::vector<DeviceInfo>> enumerate(std::size_t) override {
        return std::vector<DeviceInfo>{};
    }
    std::unique_ptr<DeviceHandle> open(const DeviceInfo&, Access) override { return nullptr; }
};

} // namespace

Session::Session(BackendFactory factory) : factory_(std::move(factory)) {}

Session::Session(std::shared_ptr<Backend> backend) : backend_(std::move(backend)) {}

std::shared_ptr<Session> Session::library() {
    static const auto session = std::make_shared<Session>(&makeBackendFromEnvironment);
    return session;
}

Backend& Session::backend() {
    if (!backend_) {
        if (factory_) backend_ = factory_();
        if (!backend_) backend_ = std::make_shared<NoDevices>();
    }
    return *backend_;
}

void Session::useBackend(std::shared_ptr<Backend> backend) {
    backend_ = std::move(backend);
}

std::unique_ptr<Backend> makeBackendFromEnvironment() {
    // Set, even to an empty list, means the emulated bus: a test that asks for no
    // devices must never reach the real ones.
    const char* devices = std::getenv("TAVREL_EMULATOR");
    if (devices != nullptr) {
        const char* state = std::getenv("TAVREL_EMULATOR_STATE");
        return makeEmulatedBackend(devices, state != nullptr ? state : "");
    }
    return makeHidrawBackend();
}

} // namespace tavrel
