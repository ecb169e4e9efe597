#include "check/SpellingWords.h"

#include "model/Utf8.h"

namespace mirvane {

namespace {

bool IsLetter(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) ||
           (c >= 0x400 && c <= 0x4FF);
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == 0xA0; }

bool IsJoiner(char32_t c) { return c == U'-' || c == U'\'' || c == 0x2019; }

// A piece that is not prose: an address, a file name ("LOG.TXT"), a formula.
bool IsLeftWhole(std::string_view piece)
{
    if (piece.find('@') != std::string_view::npos || piece.find("://") != std::string_view::npos ||
        piece.substr(0, 4) == "www." || piece.find_first_of("=+*/\\^<>_|~") != std::string_view::npos)
        return true;
    // A dot between two letters or digits joins the parts of a name.
    std::size_t pos = 0;
    char32_t before = 0;
    while (pos < piece.size()) {
        const char32_t c = Utf8Next(piece, pos);
        if (c == U'.' && (IsLetter(before) || IsDigit(before)) && pos < piece.size()) {
            std::size_t next = pos;
            const char32_t after = Utf8Next(piece, next);
            if (IsLetter(after) || IsDigit(after))
                return true;
        }
        before = c;
    }
    return false;
}

// The words of one piece.
void AddWords(std::string_view text, std::size_t pieceStart, std::size_t pieceEnd, std::vector<WordSpan>& words)
{
    std::size_t pos = pieceStart;
    while (pos < pieceEnd) {
        std::size_t start = pos;
        char32_t c = Utf8Next(text, pos);
        if (!IsLetter(c) && !IsDigit(c))
            continue;
        // A run of letters and digits, joiners between them.
        bool digits = IsDigit(c);
        std::size_t letters = IsLetter(c) ? 1 : 0;
        std::size_t end = pos;
        while (pos < pieceEnd) {
            std::size_t next = pos;
            const char32_t d = Utf8Next(text, next);
            if (IsLetter(d) || IsDigit(d)) {
                digits = digits || IsDigit(d);
                letters += IsLetter(d) ? 1 : 0;
                pos = end = next;
                continue;
            }
            if (!IsJoiner(d) || next >= pieceEnd)
                break;
            std::size_t after = next;
            const char32_t e = Utf8Next(text, after);
            if (!IsLetter(e) && !IsDigit(e))
                break;
            pos = next;
        }
        pos = end;
        if (!digits && letters > 1)
            words.push_back({start, end - start});
    }
}

} // namespace

std::vector<WordSpan> CheckedWords(std::string_view text)
{
    std::vector<WordSpan> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t start = pos;
        if (IsBlank(Utf8Next(text, pos)))
            continue;
        std::size_t end = pos;
        while (end < text.size()) {
            std::size_t next = end;
            if (IsBlank(Utf8Next(text, next)))
                break;
            end = next;
        }
        if (!IsLeftWhole(text.substr(start, end - start)))
            AddWords(text, start, end, words);
        pos = end;
    }
    return words;
}

std::vector<std::string_view> HyphenParts(std::string_view word)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t dash = word.find('-'); dash != std::string_view::npos; dash = word.find('-', start)) {
        parts.push_back(word.substr(start, dash - start));
        start = dash + 1;
    }
    parts.push_back(word.substr(start));
    return parts;
}

} // namespace mirvane
