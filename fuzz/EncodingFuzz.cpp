// The encoding guess and the conversions to code page 866 over arbitrary
// bytes, and over code page 866 text written as Russian is: words of
// Cyrillic letters, a capital only at a word's start. Beyond not crashing:
// - converted from UTF-8 or windows-1251, the bytes keep their lines and the
//   tags that begin them, so a test stays a test;
// - Russian 866 text that reads as a test is guessed to be 866;
// - the same text saved as UTF-8 is guessed to be UTF-8, and it and its
//   windows-1251 form convert back to the very 866 bytes.
#include "model/CodePage.h"
#include "model/EncodingGuess.h"
#include "model/Test.h"
#include "testfile/LineSource.h"
#include "testfile/TestFileReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace mirvane;

// Same number of lines, and each line that begins with a tag (")" and an
// ASCII character) begins with it after the conversion too. Only a last line
// of invisible characters, empty once converted, is no line any more.
void CheckKeepsLines(std::string_view original, TextEncoding from)
{
    const std::string converted = ToCp866(original, from);
    LineSource before(original);
    LineSource after(converted);
    std::string_view a;
    std::string_view b;
    for (;;) {
        const bool more = before.Next(a);
        if (more && !after.Next(b)) {
            if (!ToCp866(a, from).empty() || before.Next(a))
                __builtin_trap();
            return;
        }
        if (!more && after.Next(b))
            __builtin_trap();
        if (!more)
            return;
        if (a.size() >= 2 && a[0] == ')' && static_cast<unsigned char>(a[1]) < 0x80 && b.substr(0, 2) != a.substr(0, 2))
            __builtin_trap();
    }
}

bool ReadsAsTest(std::string_view bytes)
{
    Test test;
    TestFileReader reader(test, nullptr);
    return reader.LoadFile(bytes);
}

bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0x80 && c <= 0xAF) || c >= 0xE0;
}

// High bytes become 866 letters; a capital only where no letter precedes it.
std::string RussianDosText(std::string_view bytes)
{
    static constexpr unsigned char kLower[] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xF1, 0xA6, 0xA7, 0xA8, 0xA9,
                                               0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4,
                                               0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF};
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80) {
            text += byte;
            continue;
        }
        unsigned char letter = kLower[b % 33];
        const bool capital = (b & 0x40) != 0 && (text.empty() || !IsLetter(static_cast<unsigned char>(text.back())));
        if (capital)
            letter = letter == 0xF1 ? 0xF0 : static_cast<unsigned char>(letter >= 0xE0 ? letter - 0x50 : letter - 0x20);
        text += static_cast<char>(letter);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const TextEncoding guess = GuessEncoding(bytes);
    EncodingName(guess);
    CheckKeepsLines(bytes, TextEncoding::Utf8);
    CheckKeepsLines(bytes, TextEncoding::Cp1251);
    if (ToCp866(bytes, TextEncoding::Cp866) != bytes)
        __builtin_trap();

    const std::string dos = RussianDosText(bytes);
    if (!ReadsAsTest(dos))
        return 0;
    if (GuessEncoding(dos) != TextEncoding::Cp866)
        __builtin_trap();
    const std::string utf8 = OemToAnsi(dos);
    if (utf8.size() != dos.size() && GuessEncoding(utf8) != TextEncoding::Utf8)
        __builtin_trap();
    if (ToCp866(utf8, TextEncoding::Utf8) != dos || ToCp866(CodePage::Windows().Encode(utf8), TextEncoding::Cp1251) != dos)
        __builtin_trap();
    return 0;
}
