#include "report_descriptor.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <vector>

namespace tavrel {

namespace {

enum class ItemType : uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

// Tags of the items that matter for the report sizes.
constexpr uint8_t kMainInput = 0x8;
constexpr uint8_t kMainOutput = 0x9;
constexpr uint8_t kMainFeature = 0xB;
constexpr uint8_t kGlobalReportSize = 0x7;
constexpr uint8_t kGlobalReportId = 0x8;
constexpr uint8_t kGlobalReportCount = 0x9;
constexpr uint8_t kGlobalPush = 0xA;
constexpr uint8_t kGlobalPop = 0xB;
constexpr uint8_t kLongItemPrefix = 0xFE;

// Deep enough for any real descriptor; a hostile one cannot make the stack grow.
constexpr std::size_t kMaxPushDepth = 32;
// Bits of one report beyond which the sum stops growing (far above any 16-bit length).
constexpr uint64_t kBitCap = uint64_t{1} << 40;

struct GlobalState {
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

enum Direction { Input = 0, Output = 1, Feature = 2, DirectionCount = 3 };

uint16_t lengthOf(const std::array<uint64_t, 256>& bits) {
    const uint64_t largest = *std::max_element(bits.begin(), bits.end());
    if (largest == 0) return 0;
    const uint64_t bytes = (largest + 7) / 8 + 1;
    return static_cast<uint16_t>(std::min<uint64_t>(bytes, 0xFFFF));
}

} // namespace

ReportLayout parseReportDescriptor(std::span<const uint8_t> descriptor) {
    std::array<std::array<uint64_t, 256>, DirectionCount> bits{};
    std::vector<GlobalState> stack;
    GlobalState global;
    bool numbered = false;

    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry their data size in the next byte; nothing in them counts.
            if (pos + 1 >= descriptor.size()) break;
            pos += 3 + std::size_t{descriptor[pos + 1]};
            continue;
        }
        const std::size_t sizeCode = prefix & 0x3;
        const std::size_t size = sizeCode == 3 ? 4 : sizeCode;
        if (pos + 1 + size > descriptor.size()) break;
        uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value |= uint32_t{descriptor[pos + 1 + i]} << (8 * i);
        pos += 1 + size;

        const auto type = static_cast<ItemType>((prefix >> 2) & 0x3);
        const uint8_t tag = prefix >> 4;
        if (type == ItemType::Global) {
            switch (tag) {
            case kGlobalReportSize:
                global.reportSize = value;
                break;
            case kGlobalReportCount:
                global.reportCount = value;
                break;
            case kGlobalReportId:
                global.reportId = static_cast<uint8_t>(value & 0xFF);
                numbered = true;
                break;
            case kGlobalPush:
                if (stack.size() < kMaxPushDepth) stack.push_back(global);
                break;
            case kGlobalPop:
                if (!stack.empty()) {
                    global = stack.back();
                    stack.pop_back();
                }
                break;
            default:
                break;
            }
        } else if (type == ItemType::Main) {
            int direction = -1;
            if (tag == kMainInput) direction = Input;
            if (tag == kMainOutput) direction = Output;
            if (tag == kMainFeature) direction = Feature;
            if (direction < 0) continue;
            uint64_t& sum = bits[direction][global.reportId];
            const uint64_t added = uint64_t{global.reportSize} * global.reportCount;
            sum = std::min(sum + std::min(added, kBitCap), kBitCap);
        }
    }

    ReportLayout layout;
    layout.inputReportLength = lengthOf(bits[Input]);
    layout.outputReportLength = lengthOf(bits[Output]);
    layout.featureReportLength = lengthOf(bits[Feature]);
    layout.numberedReports = numbered;
    return layout;
}

std::string reportDescriptorPath(std::string_view devicePath) {
    const auto slash = devicePath.find_last_of('/');
    const std::string_view node =
        slash == std::string_view::npos ? devicePath : devicePath.substr(slash + 1);
    if (node.empty() || node == "." || node == "..") return {};
    return "/sys/class/hidraw/" + std::string(node) + "/device/report_descriptor";
}

std::optional<ReportLayout> readReportLayout(std::string_view devicePath) {
    const std::string path = reportDescriptorPath(devicePath);
    if (path.empty()) return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    // The kernel caps descriptors at 4096 bytes.
    std::vector<uint8_t> bytes(4096);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.empty()) return std::nullopt;
    return parseReportDescriptor(bytes);
}

} // namespace tavrel
