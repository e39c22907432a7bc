// A TavrelApi without devices of its own: tests describe what the library lists and what
// it can open, and read back the calls it received.
#ifndef ORVANE_TESTS_FAKE_TAVREL_API_H
#define ORVANE_TESTS_FAKE_TAVREL_API_H

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device/runtime_failure.h"
#include "device/tavrel_api.h"

namespace orvane::test {

struct FakeDevice {
    int vendorId = 0;
    int productId = 0;
    std::string product;
    std::string manufacturer;
    std::string serialNumber;
    int inputReportLen = 0;
    int outputReportLen = 0;
    bool listed = true;   // returned by GetList
    bool openable = true; // Open succeeds
    int failingOpens = 0; // Open of this device answers 0 this many times first
};

// What GetList was handed, seen at the call.
struct GetListCall {
    uint32_t vendorId;
    uint32_t productId;
    bool filtersAbsent;
    int32_t maxCount;
    bool blankBuffers; // 129 records, each pointing at three distinct 50-byte blank buffers
};

struct OpenCall {
    uint32_t vendorId;
    uint32_t productId;
    std::optional<std::string> manufacturer, serialNumber, product; // nullopt: NULL
};

class FakeTavrelApi : public TavrelApi {
public:
    std::vector<FakeDevice> devices;
    bool libraryMissing = false;
    std::set<std::string> missingFunctions;
    std::optional<int32_t> getListResult; // replaces the count GetList answers
    int failingOpens = 0;                 // Open answers 0 this many times first
    std::function<void()> onOpen;         // runs at each Open call
    int32_t openError = 0;                // GetOpenError's answer after an Open that failed

    std::vector<std::string> calls;
    std::vector<OpenCall> opens;
    std::vector<GetListCall> listCalls;
    std::optional<size_t> openedIndex;

    int32_t GetList(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                    const char* serialNumber, const char* product, DeviceListEntry* list,
                    int32_t maxCount) override {
        enter("GetList");
        listCalls.push_back({vendorId, productId, !manufacturer && !serialNumber && !product,
                             maxCount, blankRecords(list, 129)});
        int32_t n = 0;
        for (const FakeDevice& d : devices) {
            if (!d.listed || n >= maxCount) continue;
            if (vendorId < 0xFFFF && static_cast<int>(vendorId) != d.vendorId) continue;
            if (productId < 0xFFFF && static_cast<int>(productId) != d.productId) continue;
            DeviceListEntry& e = list[n++];
            copyText(e.product, d.product, 50);
            copyText(e.manufacturer, d.manufacturer, 50);
            copyText(e.serialNumber, d.serialNumber, 20);
            e.vendorId = d.vendorId;
            e.productId = d.productId;
            e.inputReportLength = d.inputReportLen;
            e.outputReportLength = d.outputReportLen;
        }
        return getListResult ? *getListResult : n;
    }

    int32_t Open(uint32_t vendorId, uint32_t productId, const char* manufacturer,
                 const char* serialNumber, const char* product, int32_t) override {
        enter("Open");
        opens.push_back(
            {vendorId, productId, text(manufacturer), text(serialNumber), text(product)});
        if (onOpen) onOpen();
        lastOpenFailed_ = true;
        if (failingOpens > 0) {
            --failingOpens;
            return 0;
        }
        for (size_t i = 0; i < devices.size(); ++i) {
            const FakeDevice& d = devices[i];
            if (static_cast<int>(vendorId) != d.vendorId ||
                static_cast<int>(productId) != d.productId)
                continue;
            if ((manufacturer && d.manufacturer != manufacturer) ||
                (serialNumber && d.serialNumber != serialNumber) ||
                (product && d.product != product))
                continue;
            if (!d.openable) continue;
            if (devices[i].failingOpens > 0) {
                --devices[i].failingOpens;
                return 0;
            }
            openedIndex = i;
            lastOpenFailed_ = false;
            return 1;
        }
        return 0;
    }
    void CloseRead() override { enter("CloseRead"); }
    void CloseWrite() override {
        enter("CloseWrite");
        openedIndex.reset();
    }
    void GetReportLengths(int32_t* in, int32_t* out) override {
        enter("GetReportLengths");
        if (!openedIndex) return;
        *in = devices[*openedIndex].inputReportLen;
        *out = devices[*openedIndex].outputReportLen;
    }
    int32_t SetInstance(int32_t) override {
        enter("SetInstance");
        return 1;
    }
    int32_t Read(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE>) override {
        enter("Read");
        return 0;
    }
    int32_t ReadTimeout(std::span<uint8_t, TAVREL_REPORT_BUFFER_SIZE>, int32_t) override {
        enter("ReadTimeout");
        return 0;
    }
    int32_t Write(std::span<const uint8_t, TAVREL_REPORT_BUFFER_SIZE>) override {
        enter("Write");
        return -1;
    }

    // Not recorded in calls: the program asks after every failed Open.
    int32_t GetOpenError() override { return lastOpenFailed_ ? openError : 0; }

    int count(const std::string& name) const {
        return static_cast<int>(std::ranges::count(calls, name));
    }

private:
    bool lastOpenFailed_ = false;

    void enter(const std::string& name) {
        if (libraryMissing) throw RuntimeFailure(failure::kFileNotFound, "File not found: tavrel");
        if (missingFunctions.contains(name))
            throw RuntimeFailure(failure::kEntryPointMissing,
                                 "Can't find DLL entry point " + name + " in tavrel");
        calls.push_back(name);
    }
    static bool blankRecords(const DeviceListEntry* list, int records) {
        std::set<const char*> buffers;
        for (int i = 0; i < records; ++i) {
            for (const char* b : {list[i].product, list[i].manufacturer, list[i].serialNumber}) {
                if (!b || !buffers.insert(b).second) return false;
                if (std::any_of(b, b + 50, [](char c) { return c != ' '; })) return false;
            }
        }
        return true;
    }
    static std::optional<std::string> text(const char* s) {
        return s ? std::optional<std::string>(s) : std::nullopt;
    }
    static void copyText(char* buffer, const std::string& s, size_t size) {
        const size_t n = std::min(s.size(), size - 1);
        std::memcpy(buffer, s.data(), n);
        buffer[n] = '\0';
    }
};

} // namespace orvane::test

#endif
