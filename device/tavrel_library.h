// Run-time binding of libtavrel: the library is loaded by name on first use (the program's
// own folder first, then the normal library path) and each function is bound by name on
// its first call. A missing library or function makes that call a run-time failure. Calls
// from several threads take turns.
#ifndef ORVANE_DEVICE_TAVREL_LIBRARY_H
#define ORVANE_DEVICE_TAVREL_LIBRARY_H

#include <filesystem>
#include <memory>
#include <string>

#include "device/tavrel_api.h"
#include "device/tavrel_module.h"
#include "device/turn_lock.h"

namespace orvane {

class TavrelLibrary : public TavrelApi {
public:
    // programFolder: searched first; empty: the folder of /proc/self/exe.
    // fileName: the library's file name ("libtavrel.so"); tests point it elsewhere.
    explicit TavrelLibrary(std::filesystem::path programFolder = {},
                           std::string fileName = "libtavrel.so");
    ~TavrelLibrary() override;
    TavrelLibrary(const TavrelLibrary&) = delete;
    TavrelLibrary& operator=(const TavrelLibrary&) = delete;

    int32_t GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                    const char* serialNumber, const char* product, DeviceListEntry* list,
                    int32_t maxCount) override;
    int32_t Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                 const char* serialNumber, const char* product, int32_t overlapped) override;
    void CloseRead() override;
    void CloseWrite() override;
    void GetReportLengths(int32_t* inputLength, int32_t* outputLength) override;
    int32_t SetInstance(int32_t instance) override;
    int32_t Read(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer) override;
    int32_t ReadTimeout(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer,
                        int32_t timeoutMs) override;
    int32_t Write(std::span<const uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer) override;
    int32_t GetOpenError() override;

    // The path the library was loaded from; empty while it is not loaded.
    std::string loadedPath() const;

private:
    struct Functions;
    void* symbol(const char* name);
    template <class Fn> Fn bound(Fn& slot, const char* name);

    std::filesystem::path programFolder_;
    std::string fileName_;
    std::unique_ptr<TavrelModule> module_;
    std::unique_ptr<Functions> functions_;
    // The library has no locks of its own: one call at a time, from whichever thread.
    mutable TurnLock turns_;
};

} // namespace orvane

#endif
