#include "state_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace emu {

namespace {

constexpr const char* kMagic = "orvane-emulator-state 1";
constexpr uint32_t kFlashLine = 16;

std::string hex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (const uint8_t b : bytes) {
        s.push_back(kDigits[b >> 4]);
        s.push_back(kDigits[b & 0x0F]);
    }
    return s;
}

std::optional<std::vector<uint8_t>> unhex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = digit(text[i]);
        const int lo = digit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return bytes;
}

std::vector<uint8_t> pack(const Configuration& c) {
    std::vector<uint8_t> b;
    auto add = [&](const Bytes8& a) { b.insert(b.end(), a.begin(), a.end()); };
    add(c.axisChannel);
    b.push_back(c.axisInvert);
    add(c.buttonChannel);
    add(c.buttonThreshold);
    b.push_back(c.buttonInvert);
    b.push_back(c.buttonActive);
    b.push_back(c.decodingMode);
    b.push_back(c.bootloaderEnable ? 1 : 0);
    for (const Bytes8* a :
         {&c.mixerAssignment, &c.neutral, &c.factor, &c.exponent, &c.factorQ, &c.exponentQ})
        add(*a);
    return b;
}

constexpr std::size_t kPackedConfiguration = 8 + 1 + 8 + 8 + 4 + 6 * 8;

std::optional<Configuration> unpack(std::span<const uint8_t> b) {
    if (b.size() != kPackedConfiguration) return std::nullopt;
    Configuration c;
    std::size_t at = 0;
    auto take = [&](Bytes8& a) {
        std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(at), 8, a.begin());
        at += 8;
    };
    take(c.axisChannel);
    c.axisInvert = b[at++];
    take(c.buttonChannel);
    take(c.buttonThreshold);
    c.buttonInvert = b[at++];
    c.buttonActive = b[at++];
    c.decodingMode = b[at++];
    const uint8_t bootloader = b[at++];
    for (Bytes8* a :
         {&c.mixerAssignment, &c.neutral, &c.factor, &c.exponent, &c.factorQ, &c.exponentQ})
        take(*a);
    for (int i = 0; i < 8; ++i)
        if (c.axisChannel[i] < 1 || c.axisChannel[i] > 8 || c.buttonChannel[i] < 1 ||
            c.buttonChannel[i] > 8)
            return std::nullopt;
    if (c.decodingMode > 1 || bootloader > 1) return std::nullopt;
    c.bootloaderEnable = bootloader == 1;
    return c;
}

const char* kindName(Kind k) {
    return k == Kind::Interface ? "interface" : "loader";
}

std::optional<Kind> kindFrom(std::string_view s) {
    if (s == "interface") return Kind::Interface;
    if (s == "loader") return Kind::Loader;
    return std::nullopt;
}

struct Section {
    Kind kind = Kind::Interface;
    Kind mode = Kind::Interface;
    InterfaceState interface;
    LoaderState loader;
    int seen = 0; // bit per required line
};

template <std::size_t N> bool fill(std::array<uint8_t, N>& out, std::string_view text) {
    const auto bytes = unhex(text);
    if (!bytes || bytes->size() != N) return false;
    std::copy(bytes->begin(), bytes->end(), out.begin());
    return true;
}

// Reads the whole file; nothing when any line is damaged.
std::optional<std::map<int, Section>> parse(std::istream& in) {
    std::string line;
    if (!std::getline(in, line) || line != kMagic) return std::nullopt;
    std::map<int, Section> sections;
    Section* current = nullptr;
    bool ended = false;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key, a, b;
        words >> key >> a >> b;
        if (key == "end") {
            ended = true;
            break;
        }
        if (key == "device") {
            const auto kind = kindFrom(b);
            if (a.empty() || a.size() > 4 ||
                a.find_first_not_of("0123456789") != std::string::npos || !kind)
                return std::nullopt;
            const int index = std::stoi(a);
            if (sections.contains(index)) return std::nullopt;
            current = &sections[index];
            current->kind = *kind;
            continue;
        }
        if (!current) return std::nullopt;
        Section& s = *current;
        if (key == "mode") {
            const auto mode = kindFrom(a);
            if (!mode) return std::nullopt;
            s.mode = *mode;
            s.seen |= 1;
        } else if (key == "working" || key == "stored") {
            const auto bytes = unhex(a);
            const auto config = bytes ? unpack(*bytes) : std::nullopt;
            if (!config) return std::nullopt;
            (key == "working" ? s.interface.working : s.interface.stored) = *config;
            s.seen |= key == "working" ? 2 : 4;
        } else if (key == "programming") {
            if (a != "0" && a != "1") return std::nullopt;
            s.interface.programmingMode = a == "1";
        } else if (key == "chains") {
            const auto send = unhex(a);
            const auto receive = unhex(b);
            if (!send || !receive || send->size() != 1 || receive->size() != 1) return std::nullopt;
            s.loader.link.sendChain = (*send)[0];
            s.loader.link.receiveChain = (*receive)[0];
        } else if (key == "led") {
            if (a != "0" && a != "1") return std::nullopt;
            s.loader.led = a == "1";
        } else if (key == "eeprom") {
            if (!fill(s.loader.eeprom, a)) return std::nullopt;
        } else if (key == "configmem") {
            if (!fill(s.loader.configMemory, a)) return std::nullopt;
        } else if (key == "flash") {
            const auto address = unhex(a);
            const auto data = unhex(b);
            if (!address || address->size() != 2 || !data || data->size() != kFlashLine)
                return std::nullopt;
            const uint32_t at = ((*address)[0] << 8) | (*address)[1];
            if (at % kFlashLine != 0 || at + kFlashLine > kFlashSize) return std::nullopt;
            std::copy(data->begin(), data->end(), s.loader.flash.begin() + at);
        } else {
            return std::nullopt;
        }
    }
    if (!ended) return std::nullopt; // cut short
    for (const auto& [index, s] : sections)
        if (s.seen != 7) return std::nullopt;
    return sections;
}

} // namespace

void loadState(const std::string& path, std::span<const std::unique_ptr<Device>> devices) {
    std::ifstream in(path);
    if (!in) return;
    loadState(in, devices);
}

void loadState(std::istream& in, std::span<const std::unique_ptr<Device>> devices) {
    const auto sections = parse(in);
    if (!sections) return;
    for (const auto& [index, s] : *sections) {
        if (index >= static_cast<int>(devices.size())) continue;
        Device& d = *devices[static_cast<std::size_t>(index)];
        if (d.entryKind() != s.kind) continue;
        d.restore(s.mode, s.interface, s.loader);
    }
}

std::string stateText(std::span<const std::unique_ptr<Device>> devices) {
    std::ostringstream out;
    out << kMagic << '\n';
    // Not a static: this also runs from an exit handler, after such objects are gone.
    const std::vector<uint8_t> factory = LoaderState::factoryFlash();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const Device& d = *devices[i];
        const InterfaceState& is = d.interfaceModel().state();
        const LoaderState& ls = d.loaderModel().state();
        out << "device " << i << ' ' << kindName(d.entryKind()) << '\n';
        out << "mode " << kindName(d.lastingMode()) << '\n';
        out << "working " << hex(pack(is.working)) << '\n';
        out << "stored " << hex(pack(is.stored)) << '\n';
        out << "programming " << (is.programmingMode ? 1 : 0) << '\n';
        const std::array<uint8_t, 1> send{ls.link.sendChain};
        const std::array<uint8_t, 1> receive{ls.link.receiveChain};
        out << "chains " << hex(send) << ' ' << hex(receive) << '\n';
        out << "led " << (ls.led ? 1 : 0) << '\n';
        out << "eeprom " << hex(ls.eeprom) << '\n';
        out << "configmem " << hex(ls.configMemory) << '\n';
        // Only the lines that differ from the factory content.
        for (uint32_t at = 0; at < kFlashSize; at += kFlashLine) {
            const std::span<const uint8_t> line(ls.flash.data() + at, kFlashLine);
            if (std::equal(line.begin(), line.end(), factory.begin() + at)) continue;
            const std::array<uint8_t, 2> address{static_cast<uint8_t>(at >> 8),
                                                 static_cast<uint8_t>(at & 0xFF)};
            out << "flash " << hex(address) << ' ' << hex(line) << '\n';
        }
    }
    out << "end\n";
    return out.str();
}

void writeStateFile(const std::string& path, std::string_view text) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return; // a state file that cannot be written only costs persistence
        file << text;
        if (!file.flush()) return;
    }
    std::error_code ignored;
    std::filesystem::rename(temporary, path, ignored);
}

} // namespace emu
