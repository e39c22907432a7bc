#include "device/tavrel_library.h"

#include "device/runtime_failure.h"
#include "device/tavrel_module.h"

namespace orvane {

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

TavrelLibrary::TavrelLibrary(std::filesystem::path programFolder, std::string fileName)
    : programFolder_(std::move(programFolder)), fileName_(std::move(fileName)),
      functions_(std::make_unique<Functions>()) {
    if (programFolder_.empty()) programFolder_ = runningProgramFolder();
}

// Bound pointers die with the library, so they are cleared first.
TavrelLibrary::~TavrelLibrary() {
    functions_.reset();
    module_.reset();
}

std::string TavrelLibrary::loadedPath() const {
    const std::lock_guard turn(turns_);
    return module_ ? module_->path() : std::string{};
}

void* TavrelLibrary::symbol(const char* name) {
    // Loading is retried on every call until it succeeds: the library may be installed
    // while the program runs.
    if (!module_) module_ = std::make_unique<TavrelModule>(programFolder_, fileName_);
    return module_->symbol(name);
}

template <class Fn> Fn TavrelLibrary::bound(Fn& slot, const char* name) {
    if (!slot) slot = reinterpret_cast<Fn>(symbol(name));
    return slot;
}

int32_t TavrelLibrary::GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                               const char* serialNumber, const char* product, DeviceListEntry* list,
                               int32_t maxCount) {
    const std::lock_guard turn(turns_);
    return bound(functions_->getList, "GetList")(vendorId, productId, manufacturer, serialNumber,
                                                 product, list, maxCount);
}

int32_t TavrelLibrary::Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                            const char* serialNumber, const char* product, int32_t overlapped) {
    const std::lock_guard turn(turns_);
    return bound(functions_->open, "Open")(vendorId, productId, manufacturer, serialNumber, product,
                                           overlapped);
}

int32_t TavrelLibrary::GetOpenError() {
    const std::lock_guard turn(turns_);
    try {
        return bound(functions_->getOpenError, "GetOpenError")();
    } catch (const RuntimeFailure&) {
        return 0; // an older library cannot say why
    }
}

void TavrelLibrary::CloseRead() {
    const std::lock_guard turn(turns_);
    bound(functions_->closeRead, "CloseRead")();
}

void TavrelLibrary::CloseWrite() {
    const std::lock_guard turn(turns_);
    bound(functions_->closeWrite, "CloseWrite")();
}

void TavrelLibrary::GetReportLengths(int32_t* inputLength, int32_t* outputLength) {
    const std::lock_guard turn(turns_);
    bound(functions_->getReportLengths, "GetReportLengths")(inputLength, outputLength);
}

int32_t TavrelLibrary::SetInstance(int32_t instance) {
    const std::lock_guard turn(turns_);
    return bound(functions_->setInstance, "SetInstance")(instance);
}

int32_t TavrelLibrary::Read(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer) {
    const std::lock_guard turn(turns_);
    return bound(functions_->read, "Read")(buffer.data());
}

int32_t TavrelLibrary::ReadTimeout(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer,
                                   int32_t timeoutMs) {
    const std::lock_guard turn(turns_);
    return bound(functions_->readTimeout, "ReadTimeout")(buffer.data(), timeoutMs);
}

int32_t TavrelLibrary::Write(std::span<const uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer) {
    const std::lock_guard turn(turns_);
    return bound(functions_->write, "Write")(buffer.data());
}

} // namespace orvane
