// The plain functions: each works on the object that SetInstance selected.
#include <tavrel/CCaldrix.h>
#include <tavrel/tavrel.h>

#include "version.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// The library's two objects, built when the library is loaded and destroyed when it is
// unloaded (their destructors close whatever is still open).
std::array<CCaldrix, 2> instances;
int32_t currentInstance = 0;

CCaldrix* selected() {
    if (currentInstance < 0 || currentInstance >= static_cast<int32_t>(instances.size()))
        return nullptr;
    return &instances[static_cast<std::size_t>(currentInstance)];
}

// Nothing may unwind into a C caller: a failure inside becomes the function's failure
// result.
template <typename Result, typename Call> Result guarded(Result failure, Call&& call) {
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

// The caller's side of a listing holds up to 20 devices.
constexpr int32_t kListCapacity = 20;

} // namespace

extern "C" {

int32_t GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                const char* serialNumber, const char* product, DeviceListEntry* list,
                int32_t maxCount) {
    CCaldrix* object = selected();
    if (object == nullptr || list == nullptr) return -1;
    return guarded<int32_t>(-1, [&] {
        std::array<mdeviceList, kListCapacity> found{};
        const int32_t count =
            object->GetList(vendorId, productId, manufacturer, serialNumber, product, found.data(),
                            std::min(maxCount, kListCapacity));
        for (int32_t i = 0; i < count; ++i) {
            const mdeviceList& from = found[static_cast<std::size_t>(i)];
            DeviceListEntry& to = list[i];
            // Text buffers the caller did not provide are left out, the numbers still come.
            if (to.product != nullptr) std::snprintf(to.product, 50, "%s", from.product);
            if (to.manufacturer != nullptr)
                std::snprintf(to.manufacturer, 50, "%s", from.manufacturer);
            if (to.serialNumber != nullptr)
                std::snprintf(to.serialNumber, 20, "%s", from.serialNumber);
            to.vendorId = static_cast<int32_t>(from.vendorId);
            to.productId = static_cast<int32_t>(from.productId);
            to.inputReportLength = static_cast<int32_t>(from.inputReportLength);
            to.outputReportLength = static_cast<int32_t>(from.outputReportLength);
        }
        return count;
    });
}

int32_t Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
             const char* serialNumber, const char* product, int32_t overlapped) {
    CCaldrix* object = selected();
    if (object == nullptr) return -1;
    return guarded<int32_t>(0, [&] {
        return object->Open(vendorId, productId, manufacturer, serialNumber, product, overlapped);
    });
}

int32_t GetOpenError(void) {
    const CCaldrix* object = selected();
    if (object == nullptr) return -1;
    return object->GetOpenError();
}

void CloseRead(void) {
    if (CCaldrix* object = selected()) object->CloseRead();
}

void CloseWrite(void) {
    if (CCaldrix* object = selected()) object->CloseWrite();
}

void GetReportLengths(int32_t* inputLength, int32_t* outputLength) {
    if (const CCaldrix* object = selected()) object->GetReportLengths(inputLength, outputLength);
}

int32_t SetInstance(int32_t instance) {
    if (instance != 0 && instance != 1) return -1;
    currentInstance = instance;
    return instance;
}

int32_t Read(uint8_t* buffer) {
    CCaldrix* object = selected();
    if (object == nullptr) return -1;
    return guarded<int32_t>(-1, [&] { return object->Read(buffer); });
}

int32_t ReadTimeout(uint8_t* buffer, int32_t timeoutMs) {
    CCaldrix* object = selected();
    if (object == nullptr) return -1;
    return guarded<int32_t>(-1, [&] { return object->ReadTimeout(buffer, timeoutMs); });
}

int32_t Write(const uint8_t* buffer) {
    CCaldrix* object = selected();
    if (object == nullptr) return -1;
    return guarded<int32_t>(-1, [&] { return object->Write(buffer); });
}

int32_t GetLibVersion(char* buffer) {
    const CCaldrix* object = selected();
    if (object == nullptr) return -1;
    return object->GetLibVersion(buffer);
}

int32_t ShowVersion(void) {
    // No window toolkit here: the version goes to the standard error stream, and the
    // result is that of a box closed with OK.
    constexpr int32_t kOk = 1;
    std::fprintf(stderr, "Library Version: %s\n", tavrel::kLibVersion);
    return kOk;
}

} // extern "C"
