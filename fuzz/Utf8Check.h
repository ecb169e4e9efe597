#pragma once
// Traps on bytes that are not valid UTF-8: a U+FFFD that the text does not
// spell itself marks a byte that starts no character.
#include "model/Utf8.h"

#include <cstddef>
#include <string_view>

namespace mirvane::fuzzing {

inline void CheckUtf8(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (Utf8Next(text, pos) == 0xFFFD && text.substr(start, pos - start) != "\xEF\xBF\xBD")
            __builtin_trap();
    }
}

} // namespace mirvane::fuzzing
