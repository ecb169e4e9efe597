#include "model/EncodingGuess.h"

#include "model/CodePage.h"
#include "model/StorableText.h"
#include "model/Utf8.h"

#include <array>

namespace mirvane {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsCyrillicLetter(char32_t cp) { return (cp >= 0x0410 && cp <= 0x044F) || cp == 0x0401 || cp == 0x0451; }

// Characters a test's text is made of beyond ASCII: Latin and Greek letters,
// Cyrillic, typographic signs, currencies, arrows and mathematics.
bool IsTextCharacter(char32_t cp)
{
    return (cp >= 0x00A0 && cp <= 0x024F) || (cp >= 0x0370 && cp <= 0x052F) || (cp >= 0x2000 && cp <= 0x22FF);
}

// Valid UTF-8 whose characters beyond ASCII are mostly text characters. Code
// page 866 letters are valid UTF-8 only by accident (a lower-case р-я and two
// а-п make a three-byte character), and then they decode to scripts no test
// of ours is written in.
bool IsUtf8WithNonAscii(std::string_view bytes)
{
    std::size_t text = 0;
    std::size_t other = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const char32_t cp = Utf8Next(bytes, pos);
        if (cp == kReplacement && !(pos - start == 3 && bytes.substr(start, 3) == "\xEF\xBF\xBD"))
            return false;
        ++(IsTextCharacter(cp) ? text : other);
    }
    return text > other;
}

// Which bytes of the page are Cyrillic letters.
std::array<bool, 256> Letters(const CodePage& page)
{
    std::array<bool, 256> letters{};
    for (int b = 0x80; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::string one = page.Decode(std::string_view(&byte, 1));
        std::size_t pos = 0;
        letters[static_cast<std::size_t>(b)] = IsCyrillicLetter(Utf8Next(one, pos));
    }
    return letters;
}

// How many high bytes do not read as Cyrillic letters in the page.
std::size_t NonLetters(std::string_view bytes, const std::array<bool, 256>& isLetter)
{
    std::size_t count = 0;
    for (unsigned char b : bytes)
        count += b >= 0x80 && !isLetter[b] ? 1 : 0;
    return count;
}

constexpr std::size_t kSample = kEncodingSample;

} // namespace

TextEncoding GuessEncoding(std::string_view bytes)
{
    bytes = bytes.substr(0, kSample);
    // A multi-byte character cut by the sample's end is not a fault.
    std::size_t end = bytes.size();
    while (end > 0 && bytes.size() - end < 3 && (static_cast<unsigned char>(bytes[end - 1]) & 0xC0) == 0x80)
        --end;
    if (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0xC0)
        --end;
    if (IsUtf8WithNonAscii(bytes.substr(0, bytes.size() < kSample ? bytes.size() : end)))
        return TextEncoding::Utf8;
    static const std::array<bool, 256> dosLetters = Letters(CodePage::Dos());
    static const std::array<bool, 256> windowsLetters = Letters(CodePage::Windows());
    // Russian text read in its own page is nearly all letters. Read in the
    // other page, 866's lower-case а-п fall on 1251's signs, and 1251's
    // capitals and т-я on 866's pseudo-graphics: the wrong page shows far
    // more non-letters than the right one.
    const std::size_t dos = NonLetters(bytes, dosLetters);
    const std::size_t windows = NonLetters(bytes, windowsLetters);
    if (dos >= 4 && windows * 4 < dos)
        return TextEncoding::Cp1251;
    return TextEncoding::Cp866;
}

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Cp1251:
        return "windows-1251";
    default:
        return "cp866";
    }
}

std::string ToCp866(std::string_view bytes, TextEncoding from)
{
    switch (from) {
    case TextEncoding::Utf8:
        return AnsiToOem(ToStorableText(bytes));
    case TextEncoding::Cp1251:
        return AnsiToOem(ToStorableText(CodePage::Windows().Decode(bytes)));
    default:
        return std::string(bytes);
    }
}

} // namespace mirvane
