/* A tavrel that lacks all but SetInstance and GetList. */
#include "tavrel/tavrel.h"

TAVREL_API int32_t SetInstance(int32_t instance) {
    return instance == 0 || instance == 1;
}

TAVREL_API int32_t GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                           const char* serialNumber, const char* product, DeviceListEntry* list,
                           int32_t maxCount) {
    (void)vendorId;
    (void)productId;
    (void)manufacturer;
    (void)serialNumber;
    (void)product;
    (void)list;
    (void)maxCount;
    return 0;
}
