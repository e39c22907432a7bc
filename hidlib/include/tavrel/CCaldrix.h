// The library object behind the plain functions of tavrel.h. Programs normally use the
// plain functions; C++ callers may hold CCaldrix objects of their own.
#ifndef TAVREL_CCALDRIX_H
#define TAVREL_CCALDRIX_H

#include <tavrel/tavrel.h>

#include <array>
#include <cstdint>
#include <memory>

namespace tavrel {
class Backend;
class DeviceHandle;
class Session;
enum class ReadWait;
} // namespace tavrel

// One listed device as the member GetList writes it.
struct mdeviceList {
    char product[50];
    char manufacturer[50];
    char serialNumber[20];
    uint32_t vendorId;
    uint32_t productId;
    uint32_t inputReportLength;
    uint32_t outputReportLength;
};

class TAVREL_API CCaldrix {
public:
    // Uses the library-wide session, the one the plain functions use too.
    CCaldrix();
    // Uses the given session: its back end and its read mode.
    explicit CCaldrix(std::shared_ptr<tavrel::Session> session);
    ~CCaldrix();
    // Copies share the open handles; a handle closes when the last object holding it lets
    // go of it, so two objects never close the same handle twice.
    CCaldrix(const CCaldrix& other);
    CCaldrix& operator=(const CCaldrix& other);

    // Lists the devices among the first 20 interfaces that pass the filters, at most
    // maxCount of them. vendorId/productId >= 0xFFFF and NULL texts match any device.
    int32_t GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                    const char* serialNumber, const char* product, mdeviceList* list,
                    int32_t maxCount);
    // Opens the first device among the first 127 interfaces that passes the filters:
    // 1 opened, 0 not.
    int32_t Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                 const char* serialNumber, const char* product, int32_t overlapped);
    // Why the last Open failed: 0 after one that opened, else the system's error number
    // (EACCES: no permission for the device, ENODEV: no device passed the filters).
    int32_t GetOpenError() const;
    void CloseRead();
    void CloseWrite();
    void GetReportLengths(int32_t* inputLength, int32_t* outputLength) const;
    // One whole input report, report id first, zero-padded to the input report length.
    int32_t Read(uint8_t* buffer);
    // The same, waiting at most timeoutMs for a report whatever the read mode: bytes read,
    // 0 when none came in time, -1 on failure.
    int32_t ReadTimeout(uint8_t* buffer, int32_t timeoutMs);
    // One whole output report of the output report length; buffer[0] is the report id.
    int32_t Write(const uint8_t* buffer);
    int32_t GetLibVersion(char* buffer) const;

private:
    int32_t ReadAsync(uint8_t* buffer);
    int32_t ReadSync(uint8_t* buffer);
    int32_t readReport(uint8_t* buffer, tavrel::ReadWait wait);
    int32_t placeReport(uint8_t* buffer, int n);
    int32_t openFailed(const tavrel::Backend& backend);

    std::array<char, 20> serialNumber_{};
    uint16_t inputReportLength_ = 0;
    uint16_t outputReportLength_ = 0;
    int32_t openError_ = 0;
    std::shared_ptr<tavrel::DeviceHandle> readHandle_;
    std::shared_ptr<tavrel::DeviceHandle> writeHandle_;
    std::shared_ptr<tavrel::Session> session_;
};

#endif
