#include "model/Misc.h"

#include "model/Utf8.h"

#include <vector>

namespace mirvane {

std::string TrimBlanks(std::string_view text) { return std::string(TrimBlanksView(text)); }

std::string_view TrimBlanksView(std::string_view text)
{
    // UTF-8 keeps every byte of a multi-byte character above 127, so trimming
    // bytes of code 32 or less never cuts a letter.
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return text.substr(b, e - b);
}

std::string TrimSpaces(std::string_view text)
{
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    std::size_t e = text.find_last_not_of(' ');
    return std::string(text.substr(b, e - b + 1));
}

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

int CountBreaks(std::string_view text)
{
    int count = 0;
    std::size_t p = text.find(kCrLf);
    while (p != std::string_view::npos) {
        ++count;
        p = text.find(kCrLf, p + 1);
    }
    return count;
}

std::string JoinLines(std::string_view text)
{
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            joined.push_back(' ');
            ++i;
        } else {
            joined.push_back(text[i]);
        }
    }
    return joined;
}

std::string QuestionCaption(std::string_view questionText)
{
    // The 50 characters are counted before the line breaks are replaced.
    return TrimSpaces(JoinLines(Utf8Prefix(questionText, 50)));
}

std::string LineBreaksAsSpaces(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::string_view rest = text.substr(i);
        if (c == '\r' && rest.starts_with("\r\n")) {
            line.push_back(' ');
            ++i;
        } else if (c == '\r' || c == '\n' || c == '\v' || c == '\f') {
            line.push_back(' ');
        } else if (rest.starts_with("\xC2\x85")) {
            line.push_back(' ');
            i += 1;
        } else if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9")) {
            line.push_back(' ');
            i += 2;
        } else {
            line.push_back(c);
        }
    }
    return line;
}

namespace {

constexpr std::size_t kWrapWidth = 70;

bool StartsWithParen(std::u32string_view s) { return !s.empty() && s.front() == U')'; }

// Width a piece takes on its line once a leading ")" has been protected.
std::size_t ShownWidth(std::u32string_view s) { return s.size() + (StartsWithParen(s) ? 1 : 0); }

std::vector<std::u32string_view> SplitAt(std::u32string_view text, std::u32string_view separator)
{
    std::vector<std::u32string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t p = text.find(separator, start);
        if (p == std::u32string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, p - start));
        start = p + separator.size();
    }
}

} // namespace

WrapResult WrapEditText(std::string_view text, std::size_t caret)
{
    const std::u32string input = ToUtf32(text);
    std::vector<std::u32string_view> lines;
    if (!input.empty())
        lines = SplitAt(input, U"\r\n");

    std::u32string out;
    out.reserve(input.size() + 16);
    std::size_t pos = caret;
    bool changed = false;

    for (std::size_t li = 0; li < lines.size(); ++li) {
        const std::u32string_view line = lines[li];
        if (ShownWidth(line) <= kWrapWidth) {
            if (li > 0)
                out += U"\r\n";
            if (StartsWithParen(line)) {
                out.push_back(U' ');
                changed = true;
                ++pos;
            }
            out += line;
            continue;
        }

        changed = true;
        bool firstOfLine = true;
        auto emit = [&](std::u32string_view piece) {
            if (!(li == 0 && firstOfLine))
                out += U"\r\n";
            if (StartsWithParen(piece))
                out.push_back(U' ');
            out += piece;
            firstOfLine = false;
        };
        auto close = [&](std::u32string_view piece) {
            emit(piece);
            ++pos;
        };

        std::u32string piece;
        for (std::u32string_view word : SplitAt(line, U" ")) {
            if (ShownWidth(piece) + word.size() + 1 <= kWrapWidth) {
                if (!piece.empty())
                    piece.push_back(U' ');
                piece += word;
                continue;
            }
            if (!piece.empty())
                close(piece);
            // A word wider than a whole line is cut hard into lines of 70 (69
            // where a protected ")" takes the first place); what is left of it,
            // or the word itself when it fits a line, opens the next piece.
            std::u32string_view rest = word;
            while (ShownWidth(rest) > kWrapWidth) {
                const std::size_t take = kWrapWidth - (StartsWithParen(rest) ? 1 : 0);
                close(rest.substr(0, take));
                rest = rest.substr(take);
            }
            piece.assign(rest);
        }
        // The open piece ends the line even when it is empty: a line that ends
        // in a space breaks there, and the caret goes to the new line.
        emit(piece);
    }

    WrapResult result;
    result.Changed = changed;
    if (!changed) {
        result.Text = std::string(text);
        result.Caret = caret;
        return result;
    }
    result.Text = ToUtf8(out);
    result.Caret = pos > out.size() ? out.size() : pos;
    return result;
}

} // namespace mirvane
