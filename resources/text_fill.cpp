#include "resources/text_fill.h"

#include "resources/string_table.h"

namespace orvane {

std::string filledText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                text += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

std::string localizedText(int id, int offset, std::initializer_list<std::string_view> args) {
    return filledText(stringTable(id + offset), args);
}

} // namespace orvane
