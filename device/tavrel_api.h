// The library's plain functions as the program sees them. The run-time binding loads
// libtavrel.so by name and binds each function on its first call; a missing library or
// function throws RuntimeFailure from that call. Tests substitute fakes.
#ifndef ORVANE_DEVICE_TAVREL_API_H
#define ORVANE_DEVICE_TAVREL_API_H

#include <cstdint>
#include <span>

#include "tavrel/tavrel.h"

namespace orvane {

class TavrelApi {
public:
    virtual ~TavrelApi() = default;
    virtual int32_t GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                            const char* serialNumber, const char* product, DeviceListEntry* list,
                            int32_t maxCount) = 0;
    virtual int32_t Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                         const char* serialNumber, const char* product, int32_t overlapped) = 0;
    virtual void CloseRead() = 0;
    virtual void CloseWrite() = 0;
    virtual void GetReportLengths(int32_t* inputLength, int32_t* outputLength) = 0;
    virtual int32_t SetInstance(int32_t instance) = 0;
    // buffer: TAVREL_REPORT_BUFFER_SIZE bytes, report id first.
    virtual int32_t Read(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer) = 0;
    // Waits at most timeoutMs for one report: bytes, 0 when none came, -1.
    virtual int32_t ReadTimeout(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer,
                                int32_t timeoutMs) = 0;
    virtual int32_t Write(std::span<const uint8_t, TAVREL_REPORT_BUFFER_SIZE> buffer) = 0;
    // Why the last Open failed (0, or the system's error number such as EACCES). Optional:
    // a library without it, and any fake, knows no reason and answers 0; never a failure.
    virtual int32_t GetOpenError() { return 0; }
};

} // namespace orvane

#endif
