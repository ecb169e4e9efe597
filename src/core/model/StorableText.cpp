#include "model/StorableText.h"

#include "model/CodePage.h"
#include "model/Test.h"
#include "model/Utf8.h"

#include <algorithm>

namespace mirvane {

namespace {

struct Plain {
    char32_t typographic;
    const char* plain; // UTF-8
};

// The one table of replacements.
constexpr Plain kPlain[] = {
    {U'\u00AB', "\""}, {U'\u00BB', "\""}, {U'\u201C', "\""}, {U'\u201D', "\""}, {U'\u201E', "\""},
    {U'\u201F', "\""}, {U'\u2033', "\""}, {U'\u2018', "'"},  {U'\u2019', "'"},  {U'\u201A', "'"},
    {U'\u201B', "'"},  {U'\u2032', "'"},  {U'\u2039', "<"},  {U'\u203A', ">"},  {U'\u2010', "-"},
    {U'\u2011', "-"},  {U'\u2012', "-"},  {U'\u2013', "-"},  {U'\u2014', "-"},  {U'\u2015', "-"},
    {U'\u2212', "-"},  {U'\u2026', "..."}, {U'\u2022', "\u2219"}, {U'\u00D7', "x"},
    {U'\u2002', " "},  {U'\u2003', " "},  {U'\u2009', " "},  {U'\u200A', " "},  {U'\u2007', "\u00A0"},
    {U'\u202F', "\u00A0"}, {U'\u200B', ""}, {U'\u00AD', ""}, {U'\uFEFF', ""},
};

const char* PlainFor(char32_t cp)
{
    for (const Plain& p : kPlain) {
        if (p.typographic == cp)
            return p.plain;
    }
    return nullptr;
}

} // namespace

std::string ToStorableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Runs of ASCII, most of any text, are copied as they stand.
        const std::size_t ascii = pos;
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        out.append(text.substr(ascii, pos - ascii));
        if (pos == text.size())
            break;
        const std::size_t start = pos;
        const char32_t cp = Utf8Next(text, pos);
        const char* plain = PlainFor(cp);
        // An invisible character dropped between a lone CR and an LF would
        // make the two line endings one; it stays, to become "?".
        if (plain && *plain == '\0' && !out.empty() && out.back() == '\r' && pos < text.size() && text[pos] == '\n')
            plain = nullptr;
        if (plain)
            out.append(plain);
        else
            out.append(text.substr(start, pos - start));
    }
    return out;
}

std::u32string UnstorableCharacters(std::string_view text)
{
    const CodePage& dos = CodePage::Dos();
    std::u32string found;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) { // every ASCII character is in the page
            ++pos;
            continue;
        }
        const char32_t cp = Utf8Next(text, pos);
        if (!dos.Contains(cp) && found.find(cp) == std::u32string::npos)
            found.push_back(cp);
    }
    return found;
}

std::u32string UnstorableCharacters(const Test& test)
{
    std::u32string found;
    auto add = [&found](std::string_view text) {
        for (char32_t cp : UnstorableCharacters(text)) {
            if (found.find(cp) == std::u32string::npos)
                found.push_back(cp);
        }
    };
    add(test.TestName);
    add(test.LogFile);
    for (int i = 0; i < Test::kMarkSlots; ++i)
        add(test.MarkDiscriptionsGet(i));
    for (const Division& d : test.Divisions) {
        add(d.Name);
        for (const Question& q : d.Questions) {
            add(q.Q());
            for (int i = 0; i < Question::kAnswerSlots; ++i)
                add(q.AGet(i));
        }
    }
    return found;
}

} // namespace mirvane
