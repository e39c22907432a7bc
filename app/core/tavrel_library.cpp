#include "app/core/tavrel_library.h"

#include <dlfcn.h>

#include <system_error>

#include "app/core/runtime_failure.h"

namespace orvane {

namespace {

struct DlClose {
    void operator()(void* h) const {
        if (h) dlclose(h);
    }
};
using DlHandle = std::unique_ptr<void, DlClose>;

} // namespace

struct TavrelLibrary::Handle {
    DlHandle dl;
    std::string path;
};

struct TavrelLibrary::Functions {
    decltype(&::GetList) getList = nullptr;
    decltype(&::Open) open = nullptr;
    decltype(&::CloseRead) closeRead = nullptr;
    decltype(&::CloseWrite) closeWrite = nullptr;
    decltype(&::GetReportLengths) getReportLengths = nullptr;
    decltype(&::SetInstance) setInstance = nullptr;
    decltype(&::Read) read = nullptr;
    decltype(&::ReadTimeout) readTimeout = nullptr;
    decltype(&::Write) write = nullptr;
    decltype(&::GetOpenError) getOpenError = nullptr;
};

std::filesystem::path runningProgramFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
}

TavrelLibrary::TavrelLibrary(std::filesystem::path programFolder, std::string fileName)
    : programFolder_(std::move(programFolder)), fileName_(std::move(fileName)),
      functions_(std::make_unique<Functions>()) {
    if (programFolder_.empty()) programFolder_ = runningProgramFolder();
}

// Bound pointers die with the handle, so they are cleared first.
TavrelLibrary::~TavrelLibrary() {
    functions_.reset();
    handle_.reset();
}

std::string TavrelLibrary::loadedPath() const {
    return handle_ ? handle_->path : std::string{};
}

void* TavrelLibrary::symbol(const char* name) {
    if (!handle_) {
        // Loading is retried on every call until it succeeds: the library may be installed
        // while the program runs.
        std::string path;
        DlHandle dl;
        if (!programFolder_.empty()) {
            path = (programFolder_ / fileName_).string();
            dl.reset(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
        }
        if (!dl) {
            path = fileName_;
            dl.reset(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
        }
        if (!dl) throw RuntimeFailure(failure::kFileNotFound, "File not found: tavrel");
        handle_ = std::make_unique<Handle>(Handle{std::move(dl), std::move(path)});
    }
    void* fn = dlsym(handle_->dl.get(), name);
    if (!fn)
        throw RuntimeFailure(failure::kEntryPointMissing,
                             std::string("Can't find DLL entry point ") + name + " in tavrel");
    return fn;
}

template <class Fn> Fn TavrelLibrary::bound(Fn& slot, const char* name) {
    if (!slot) slot = reinterpret_cast<Fn>(symbol(name));
    return slot;
}

int32_t TavrelLibrary::GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                               const char* serialNumber, const char* product, DeviceListEntry* list,
                               int32_t maxCount) {
    return bound(functions_->getList, "GetList")(vendorId, productId, manufacturer, serialNumber,
                                                 product, list, maxCount);
}

int32_t TavrelLibrary::Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                            const char* serialNumber, const char* product, int32_t overlapped) {
    return bound(functions_->open, "Open")(vendorId, productId, manufacturer, serialNumber, product,
                                           overlapped);
}

int32_t TavrelLibrary::GetOpenError() {
    try {
        return bound(functions_->getOpenError, "GetOpenError")();
    } catch (const RuntimeFailure&) {
        return 0; // an older library cannot say why
    }
}

void TavrelLibrary::CloseRead() {
    bound(functions_->closeRead, "CloseRead")();
}

void TavrelLibrary::CloseWrite() {
    bound(functions_->closeWrite, "CloseWrite")();
}

void TavrelLibrary::GetReportLengths(int32_t* inputLength, int32_t* outputLength) {
    bound(functions_->getReportLengths, "GetReportLengths")(inputLength, outputLength);
}

int32_t TavrelLibrary::SetInstance(int32_t instance) {
    return bound(functions_->setInstance, "SetInstance")(instance);
}

int32_t TavrelLibrary::Read(std::span<uint8_t, 101> buffer) {
    return bound(functions_->read, "Read")(buffer.data());
}

int32_t TavrelLibrary::ReadTimeout(std::span<uint8_t, 101> buffer, int32_t timeoutMs) {
    return bound(functions_->readTimeout, "ReadTimeout")(buffer.data(), timeoutMs);
}

int32_t TavrelLibrary::Write(std::span<const uint8_t, 101> buffer) {
    return bound(functions_->write, "Write")(buffer.data());
}

} // namespace orvane
