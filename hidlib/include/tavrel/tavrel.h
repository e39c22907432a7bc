// Plain C interface of libtavrel: every function works on the library object chosen by
// SetInstance (0 or 1). Programs load the library by name and bind these symbols by name.
#ifndef TAVREL_TAVREL_H
#define TAVREL_TAVREL_H

#include <stdint.h>

#if defined(_WIN32)
#define TAVREL_API __declspec(dllexport)
#else
#define TAVREL_API __attribute__((visibility("default")))
#endif

// The buffers handed to Read, ReadTimeout and Write: 101 bytes, report id first. Devices
// whose reports are longer cannot be served through them.
#define TAVREL_REPORT_BUFFER_SIZE 101
// A vendor or product id filter that matches any device.
#define TAVREL_ANY_ID 0xFFFFu

#ifdef __cplusplus
extern "C" {
#endif

// One listed device. The three text pointers are owned by the caller: at least 50, 50 and
// 20 bytes. On 64-bit Linux this is three pointers followed by four 32-bit integers.
typedef struct DeviceListEntry {
    char* product;
    char* manufacturer;
    char* serialNumber;
    int32_t vendorId;
    int32_t productId;
    int32_t inputReportLength;
    int32_t outputReportLength;
} DeviceListEntry;

// Lists up to maxCount devices among the first 20 HID interfaces that pass the filters.
// vendorId/productId >= TAVREL_ANY_ID match any device; a NULL text matches any device.
TAVREL_API int32_t GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                           const char* serialNumber, const char* product, DeviceListEntry* list,
                           int32_t maxCount);
// Opens the first device that passes the filters: 1 opened, 0 not, -1 no valid object.
TAVREL_API int32_t Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                        const char* serialNumber, const char* product, int32_t overlapped);
// Why the selected object's last Open failed: 0 after one that opened, else the system's
// error number (EACCES: no permission for the device, ENODEV: no such device); -1 when no
// valid object is selected. Older libraries lack this function.
TAVREL_API int32_t GetOpenError(void);
TAVREL_API void CloseRead(void);
TAVREL_API void CloseWrite(void);
TAVREL_API void GetReportLengths(int32_t* inputLength, int32_t* outputLength);
TAVREL_API int32_t SetInstance(int32_t instance);
// One whole input report, report id first: bytes read, 0 when none waits (overlapped), -1.
TAVREL_API int32_t Read(uint8_t* buffer);
// One whole input report, report id first, waiting at most timeoutMs for one to arrive:
// bytes read, 0 when none came in time, -1 on failure. A negative time waits not at all.
TAVREL_API int32_t ReadTimeout(uint8_t* buffer, int32_t timeoutMs);
// One whole output report, report id first: bytes written or -1.
TAVREL_API int32_t Write(const uint8_t* buffer);
TAVREL_API int32_t GetLibVersion(char* buffer);
TAVREL_API int32_t ShowVersion(void);

#ifdef __cplusplus
}
#endif

#endif
