#include "shell/device_table.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "device/known_devices.h"
#include "device/open_choice.h"
#include "device/runtime_failure.h"
#include "device/tavrel_api.h"
#include "shell/trap.h"

namespace orvane {

namespace {

void checkSlot(int slot) {
    if (slot < 0 || slot >= DeviceTable::kSlots)
        throw RuntimeFailure(failure::kSubscriptOutOfRange, "Subscript out of range");
}

// Text of a caller-owned record buffer: up to its first NUL, never beyond the buffer.
std::string bufferText(std::span<const char> buffer) {
    auto end = std::ranges::find(buffer, '\0');
    return std::string(buffer.begin(), end);
}

} // namespace

std::string numberWithSign(long long value) {
    return value >= 0 ? " " + std::to_string(value) : std::to_string(value);
}

long long tableNumber(std::string_view text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) return 0;
    text.remove_prefix(i);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)ptr;
    return ec == std::errc{} ? value : 0;
}

int16_t DeviceTable::rebuild(TavrelApi& tavrel, const Trap& trap) {
    trap([&] { tavrel.SetInstance(0); });

    // Blank-filled text buffers for every record; the records point into them.
    std::vector<std::array<char, kTextBufferSize>> texts(kSlots * 3);
    for (auto& t : texts)
        t.fill(' ');
    std::vector<DeviceListEntry> records(kSlots);
    for (int i = 0; i < kSlots; ++i) {
        records[i].product = texts[i * 3].data();
        records[i].manufacturer = texts[i * 3 + 1].data();
        records[i].serialNumber = texts[i * 3 + 2].data();
    }

    int n = 0;
    trap([&] {
        n = tavrel.GetList(TAVREL_ANY_ID, TAVREL_ANY_ID, nullptr, nullptr, nullptr, records.data(),
                           kListMax);
    });
    // A negative answer (no valid library object) lists nothing; an answer beyond the
    // records handed over cannot be trusted either.
    n = std::clamp(n, 0, kListMax);

    for (int i = 0; i < n; ++i) {
        DeviceRow& row = rows_[i];
        row.deviceName = bufferText(texts[i * 3]);
        row.manufacturer = bufferText(texts[i * 3 + 1]);
        row.serialNumber = bufferText(texts[i * 3 + 2]);
        row.vendorId = numberWithSign(records[i].vendorId);
        row.productId = numberWithSign(records[i].productId);
        row.inputReportLen = numberWithSign(records[i].inputReportLength);
        row.outputReportLen = numberWithSign(records[i].outputReportLength);
    }

    // addKnownDevices: a failure stops the remaining probes, as one statement.
    trap([&] {
        for (const KnownDevice& d : knownDeviceTable)
            addKnownDevice(tavrel, n, d.vendorId, d.productId, d.defaultInputLen,
                           d.defaultOutputLen);
    });
    rowCount_ = n;
    return static_cast<int16_t>(n);
}

bool DeviceTable::isListed(int count, int vendorId, int productId) const {
    for (int i = 0; i < count && i < kSlots; ++i)
        if (tableNumber(rows_[i].vendorId) == vendorId &&
            tableNumber(rows_[i].productId) == productId)
            return true;
    return false;
}

void DeviceTable::addKnownDevice(TavrelApi& tavrel, int& count, int vendorId, int productId,
                                 int defaultIn, int defaultOut) {
    if (count >= kListMax || isListed(count, vendorId, productId)) return;
    checkSlot(count);
    if (tavrel.Open(static_cast<uint32_t>(vendorId), static_cast<uint32_t>(productId), nullptr,
                    nullptr, nullptr, -1) != 1)
        return;
    int32_t in = defaultIn;
    int32_t out = defaultOut;
    try {
        tavrel.GetReportLengths(&in, &out);
    } catch (const RuntimeFailure&) {
        // A library without this function leaves the defaults, silently.
        in = defaultIn;
        out = defaultOut;
    }
    std::string name = productName(vendorId, productId, in);
    tavrel.CloseRead();
    tavrel.CloseWrite();

    DeviceRow& row = rows_[count];
    row.deviceName = std::move(name);
    row.manufacturer = "Tavrel";
    row.serialNumber.clear();
    row.vendorId = std::to_string(vendorId);
    row.productId = std::to_string(productId);
    row.inputReportLen = std::to_string(in);
    row.outputReportLen = std::to_string(out);
    ++count;
}

const DeviceRow& DeviceTable::row(int slot) const {
    checkSlot(slot);
    return rows_[slot];
}

int32_t DeviceTable::openDeviceAt(TavrelApi& tavrel, int slot) const {
    const DeviceRow& r = row(slot);
    auto vendorId = static_cast<uint32_t>(tableNumber(r.vendorId));
    auto productId = static_cast<uint32_t>(tableNumber(r.productId));
    // Every row with the same ids, so that two interfaces of one kind open each its own.
    std::vector<DeviceTexts> samePair;
    for (int i = 0; i < std::max(rowCount_, slot + 1); ++i) {
        const DeviceRow& other = rows_[i];
        if (tableNumber(other.vendorId) == vendorId && tableNumber(other.productId) == productId)
            samePair.push_back({other.manufacturer, other.serialNumber, other.deviceName});
    }
    const OpenTexts by =
        openTexts(isKnownDevice(static_cast<int>(vendorId), static_cast<int>(productId)),
                  {r.manufacturer, r.serialNumber, r.deviceName}, samePair);
    return tavrel.Open(vendorId, productId, by.manufacturer ? r.manufacturer.c_str() : nullptr,
                       by.serialNumber ? r.serialNumber.c_str() : nullptr,
                       by.product ? r.deviceName.c_str() : nullptr, -1);
}

DeviceValues DeviceTable::valuesAt(int slot) const {
    const DeviceRow& r = row(slot);
    DeviceValues v;
    v.vendorId = static_cast<int>(tableNumber(r.vendorId));
    v.productId = static_cast<int>(tableNumber(r.productId));
    v.serialNumber = r.serialNumber;
    v.manufacturer = r.manufacturer;
    v.deviceName = r.deviceName;
    v.outputReportLen = static_cast<int>(tableNumber(r.outputReportLen));
    v.inputReportLen = static_cast<int>(tableNumber(r.inputReportLen));
    return v;
}

} // namespace orvane
