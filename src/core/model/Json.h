#pragma once
// Text as a JSON string, for the files and reports written as JSON.
#include "model/Utf8.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace mirvane {

// Quotes, backslashes and control characters escaped, the rest of the UTF-8
// text as it is. Bytes that are no UTF-8 (a file name may hold any) become
// U+FFFD, so that the output is always JSON.
inline std::string Json(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char ch = text[pos];
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80) {
            // One byte taken alone is a byte that starts no character.
            if (Utf8Next(text, pos) == U'\uFFFD' && pos - start == 1)
                out += "\\ufffd";
            else
                out.append(text.substr(start, pos - start));
            continue;
        }
        ++pos;
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
