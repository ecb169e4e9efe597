#pragma once
// Small UTF-8 helpers. The model holds every text as UTF-8; rules that count
// characters count Unicode code points, never bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace mirvane {

// Number of code points; a byte that starts no valid sequence counts as one.
std::size_t Utf8Length(std::string_view text);

// The first `count` code points of `text` (all of it when shorter).
std::string_view Utf8Prefix(std::string_view text, std::size_t count);

// What follows the first `count` code points (nothing when shorter).
inline std::string_view Utf8After(std::string_view text, std::size_t count)
{
    return text.substr(Utf8Prefix(text, count).size());
}

// Decodes one code point at `pos` and advances `pos`. An invalid or truncated
// sequence yields U+FFFD and consumes one byte.
char32_t Utf8Next(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t cp);

std::u32string ToUtf32(std::string_view text);
std::string ToUtf8(std::u32string_view text);

} // namespace mirvane
