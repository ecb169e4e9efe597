// Feeds text to the HTML-to-text step alone. Any UTF-8 text, in each of
// Moodle's text formats: no crash, and the result is UTF-8. Then the same
// text made into HTML whose markup is known: every "<" followed by a letter
// becomes a tag, "&" an "&amp;", scripts and styles an inline tag; what is
// left of it must be shown, each "<" that opens no tag and what follows it
// up to the next ">" included, so the shown text without its blanks is the
// HTML's text without its blanks.
#include "Utf8Check.h"
#include "interchange/HtmlText.h"
#include "model/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string WithoutBlanks(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (!IsBlank(c))
            out += c;
    }
    return out;
}

// The text as HTML of plain tags, and the text it shows, blanks aside.
void MakeHtml(std::string_view text, std::string& html, std::string& shown)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '<' && (IsLetter(next) || (next == '/' && i + 2 < text.size() && IsLetter(text[i + 2])))) {
            std::size_t end = i + (next == '/' ? 2 : 1);
            std::string name;
            while (end < text.size() && IsLetter(text[end]))
                name += text[end++];
            std::string lower;
            for (char n : name)
                lower += static_cast<char>(n | 0x20);
            if (lower == "script" || lower == "style")
                name.assign(1, 'b'); // their content is meant to vanish
            html += next == '/' ? "</" : "<";
            html += name;
            html += '>';
            i = end - 1;
        } else if (c == '<' && (next == '!' || next == '?')) {
            html += "< "; // a declaration otherwise
            shown += '<';
        } else if (c == '&') {
            html += "&amp;";
            shown += '&';
        } else {
            html += c;
            if (!IsBlank(c))
                shown += c;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string text =
        mirvane::ToUtf8(mirvane::ToUtf32(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)));
    const auto format = static_cast<mirvane::MoodleTextFormat>(data[0] % 4);
    mirvane::fuzzing::CheckUtf8(mirvane::TextInFormat(text, format).Text);

    std::string html, shown;
    MakeHtml(text, html, shown);
    if (WithoutBlanks(mirvane::TextFromHtml(html, data[0] & 4).Text) != shown)
        __builtin_trap();
    return 0;
}
