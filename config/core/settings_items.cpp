#include "config/core/settings_items.h"

namespace orvane::config {
namespace {

bool isSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

void SettingsItemReader::skipDelimiter() {
    if (pos_ >= data_.size()) return;
    if (data_[pos_] == ',') {
        ++pos_;
    } else if (data_[pos_] == '\r') {
        ++pos_;
        if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    } else if (data_[pos_] == '\n') {
        ++pos_;
    }
}

std::optional<std::string_view> SettingsItemReader::next() {
    // Only blanks come before an item; a tab is part of the text.
    while (pos_ < data_.size() && data_[pos_] == ' ')
        ++pos_;
    if (pos_ >= data_.size()) return std::nullopt;

    std::string_view item;
    if (data_[pos_] == '"') {
        const std::size_t start = ++pos_;
        while (pos_ < data_.size() && data_[pos_] != '"' && !atLineEnd())
            ++pos_;
        item = data_.substr(start, pos_ - start);
        if (pos_ < data_.size() && data_[pos_] == '"') ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && data_[pos_] != ',' && !atLineEnd())
            ++pos_;
        item = data_.substr(start, pos_ - start);
    }
    while (pos_ < data_.size() && data_[pos_] != ',' && !atLineEnd())
        ++pos_;
    skipDelimiter();
    return item;
}

std::optional<long> parseValueItem(std::string_view item) {
    // A value in quotes keeps its blanks; it reads like the same value without them.
    while (!item.empty() && isSpaceOrTab(item.front()))
        item.remove_prefix(1);
    while (!item.empty() && isSpaceOrTab(item.back()))
        item.remove_suffix(1);
    bool negative = false;
    if (!item.empty() && (item[0] == '-' || item[0] == '+')) {
        negative = item[0] == '-';
        item.remove_prefix(1);
    }
    if (item.empty()) return std::nullopt;
    // Leading zeros do not count against the length that keeps the value from overflowing.
    while (item.size() > 1 && item[0] == '0')
        item.remove_prefix(1);
    if (item.size() > 9) return std::nullopt;
    long value = 0;
    for (char c : item) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

} // namespace orvane::config
