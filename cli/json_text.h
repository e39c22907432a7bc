// A text as a JSON string, quotes and escapes included.
#ifndef ORVANE_CLI_JSON_TEXT_H
#define ORVANE_CLI_JSON_TEXT_H

#include <cstdio>
#include <string>
#include <string_view>

namespace orvane::cli {

inline std::string jsonText(std::string_view text) {
    std::string s = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            s += "\\\"";
            break;
        case '\\':
            s += "\\\\";
            break;
        case '\n':
            s += "\\n";
            break;
        case '\r':
            s += "\\r";
            break;
        case '\t':
            s += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                s += escaped;
            } else {
                s += c;
            }
        }
    }
    return s + "\"";
}

} // namespace orvane::cli

#endif
