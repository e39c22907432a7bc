// The item-by-item reading of settings files.
#ifndef ORVANE_CONFIG_CORE_SETTINGS_ITEMS_H
#define ORVANE_CONFIG_CORE_SETTINGS_ITEMS_H

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvane::config {

// An item starts at the first character that is not a blank (a tab is no blank here: it
// belongs to the item) and ends at a comma or at the
// end of the line; an item that starts with a double quote ends at the closing quote (the
// quotes are dropped) and whatever follows it up to the next comma or line end is skipped.
// Line ends are CR LF, or a lone LF or CR.
class SettingsItemReader {
public:
    explicit SettingsItemReader(std::string_view data) : data_(data) {}

    // The next item, or empty when the data has ended.
    std::optional<std::string_view> next();

private:
    bool atLineEnd() const { return data_[pos_] == '\r' || data_[pos_] == '\n'; }
    void skipDelimiter();

    std::string_view data_;
    std::size_t pos_ = 0;
};

// A value item as a whole decimal number (" 162 ", "-5", "\t7"), blanks and tabs around it
// ignored; empty for anything else.
std::optional<long> parseValueItem(std::string_view item);

} // namespace orvane::config

#endif
