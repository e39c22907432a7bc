#include "config/core/settings_file.h"

#include "config/core/item_ranges.h"
#include "config/core/settings_items.h"
#include "config/core/windows1252.h"
#include "program_version.h"

namespace orvane::config {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// One blank where a minus sign would stand, one blank after the digits.
std::string valueLine(long value) {
    return (value < 0 ? std::string() : std::string(" ")) + std::to_string(value) + " ";
}

// An annotation that the reader would cut at a comma, or whose leading blanks it would skip,
// is written quoted; a quote inside could not be read back and becomes an apostrophe.
std::string annotationLine(std::string_view annotations) {
    std::string text(annotations);
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    const bool needsQuotes = text.find(',') != std::string::npos ||
                             (!text.empty() && (text[0] == ' ' || text[0] == '"'));
    if (!needsQuotes) return text;
    for (char& c : text) {
        if (c == '"') c = '\'';
    }
    return '"' + text + '"';
}

template <typename T, std::size_t N>
void writeGroup(std::string& out, std::string_view label, const std::array<T, N>& values) {
    for (const T& v : values) {
        out.append(label).append(kCrLf);
        out.append(valueLine(static_cast<long>(v))).append(kCrLf);
    }
}

// Option lines hold any 16-bit number; only 1 selects the option button.
constexpr ItemRange kOptionRange = kMixerEntryRange;

// Reads items one by one and remembers when one was missing or bad.
class Loader {
public:
    explicit Loader(std::string_view data) : items_(data) {}

    bool failed() const { return failed_; }

    std::optional<std::string_view> text() {
        if (failed_) return std::nullopt;
        auto item = items_.next();
        if (!item) failed_ = true;
        return item;
    }

    // A label item (ignored), then a value item within range.
    std::optional<long> labelledValue(ItemRange range) {
        if (!text()) return std::nullopt;
        const auto item = text();
        if (!item) return std::nullopt;
        const auto value = parseValueItem(*item);
        if (!value || !range.contains(*value)) {
            failed_ = true;
            return std::nullopt;
        }
        return value;
    }

private:
    SettingsItemReader items_;
    bool failed_ = false;
};

template <typename T, std::size_t N>
bool readGroup(Loader& loader, std::array<T, N>& target, ItemRange range) {
    for (T& entry : target) {
        const auto value = loader.labelledValue(range);
        if (!value) return false;
        entry = static_cast<T>(*value);
    }
    return true;
}

bool readMixerGroup(Loader& loader, MixerTables& mixers, MixerField field) {
    return readGroup(loader, mixers[field], kMixerEntryRange);
}

bool readOptions(Loader& loader, ConfigurationSnapshot& items) {
    for (int index = 0; index < 2; ++index) {
        const auto value = loader.labelledValue(kOptionRange);
        if (!value) return false;
        if (*value == 1) {
            // Selecting one option button deselects the other.
            items.option[index] = true;
            items.option[1 - index] = false;
            items.decodingMode = index;
        } else {
            items.option[index] = false;
        }
    }
    return true;
}

bool readItems(Loader& loader, SettingsLoad& load) {
    if (!loader.text()) return false; // header
    const auto version = loader.text();
    if (!version) return false;
    load.fileVersion = windows1252ToUtf8(*version);
    if (!loader.text()) return false; // "Annotations"
    const auto annotations = loader.text();
    if (!annotations) return false;
    load.annotations = windows1252ToUtf8(*annotations);

    ConfigurationSnapshot& items = load.items;
    MixerTables& mixers = items.mixers;
    return readGroup(loader, items.axisChannel, kChannelRange) &&
           readGroup(loader, items.buttonThreshold, kThresholdRange) &&
           readGroup(loader, items.buttonChannel, kChannelRange) &&
           readGroup(loader, items.axisInvert, kFlagRange) &&
           readGroup(loader, items.buttonInvert, kFlagRange) &&
           readGroup(loader, items.buttonActive, kFlagRange) &&
           readMixerGroup(loader, mixers, MixerField::Assignment) &&
           readMixerGroup(loader, mixers, MixerField::Neutral) &&
           readMixerGroup(loader, mixers, MixerField::Factor) &&
           readMixerGroup(loader, mixers, MixerField::Exponent) && readOptions(loader, items) &&
           readMixerGroup(loader, mixers, MixerField::FactorQ) &&
           readMixerGroup(loader, mixers, MixerField::ExponentQ);
}

// The version text up to its second ".", or all of it.
std::string_view majorMinor(std::string_view version) {
    const auto first = version.find('.');
    if (first == std::string_view::npos) return version;
    const auto second = version.find('.', first + 1);
    return second == std::string_view::npos ? version : version.substr(0, second);
}

} // namespace

std::string programVersionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string writeSettingsFile(const ConfigurationSnapshot& items, std::string_view annotations) {
    std::string out;
    out.reserve(4096);
    out.append(kSettingsHeader).append(kCrLf);
    out.append(programVersionText()).append(kCrLf);
    out.append("Annotations").append(kCrLf);
    out.append(utf8ToWindows1252(annotationLine(annotations))).append(kCrLf);
    writeGroup(out, "Slider1", items.axisChannel);
    writeGroup(out, "Slider2", items.buttonThreshold);
    writeGroup(out, "Slider3", items.buttonChannel);
    writeGroup(out, "Check1", items.axisInvert);
    writeGroup(out, "Check2", items.buttonInvert);
    writeGroup(out, "Check3", items.buttonActive);
    for (MixerField field :
         {MixerField::Assignment, MixerField::Neutral, MixerField::Factor, MixerField::Exponent}) {
        writeGroup(out, mixerFieldName(field), items.mixers[field]);
    }
    writeGroup(out, "Option1", items.option);
    for (MixerField field : {MixerField::FactorQ, MixerField::ExponentQ}) {
        writeGroup(out, mixerFieldName(field), items.mixers[field]);
    }
    return out;
}

bool hasSettingsHeader(std::string_view data) {
    SettingsItemReader items(data);
    const auto first = items.next();
    return first && *first == kSettingsHeader;
}

SettingsLoad readSettingsFile(std::optional<std::string_view> data,
                              const ConfigurationSnapshot& current,
                              std::string_view currentAnnotations) {
    SettingsLoad load{current, std::string(currentAnnotations), {}, std::nullopt};
    if (data) {
        Loader loader(*data);
        if (readItems(loader, load)) return load;
    }
    load.failureMessage = settingsFailureMessage(load.fileVersion);
    return load;
}

std::string settingsFailureMessage(std::string_view fileVersion) {
    const std::string own = std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
    const std::string first =
        majorMinor(fileVersion) != own
            ? "File is from different Orvane version " + std::string(fileVersion)
            : std::string("File Read Error");
    return first + "\r\nSettings may be restored incompletely";
}

} // namespace orvane::config
