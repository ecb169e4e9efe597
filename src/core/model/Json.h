#pragma once
// Text as a JSON string, for the files and reports written as JSON.
#include <string>
#include <string_view>

namespace mirvane {

// Quotes, backslashes and control characters escaped, the rest of the UTF-8
// text as it is.
inline std::string Json(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    return out + '"';
}

} // namespace mirvane
