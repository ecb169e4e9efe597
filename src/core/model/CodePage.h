#pragma once
// A single-byte code page at a file boundary: DOS 866 for test files and the
// text export, windows-1251 for the HTML page and the text export; and UTF-8
// itself, which the text export also offers for the user's own system. The
// model itself holds UTF-8; only readers and writers see these bytes.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

class CodePage {
public:
    static const CodePage& Dos();     // code page 866
    static const CodePage& Windows(); // code page 1251
    static const CodePage& Utf8();    // every character as it is

    // Bytes of this page to UTF-8, appended to `out`. Every byte maps to a
    // character, so nothing is lost.
    void DecodeAppend(std::string& out, std::string_view bytes) const;
    std::string Decode(std::string_view bytes) const;

    // UTF-8 to bytes of this page, appended to `out`. A character the page
    // lacks, and a byte that is not valid UTF-8, is written as "?".
    void EncodeAppend(std::string& out, std::string_view text) const;
    // Whether the page has the character.
    bool Contains(char32_t cp) const { return utf8_ || cp < 0x80 || (cp < 0x10000 && encodeBmp_[cp] != 0); }
    std::string Encode(std::string_view text) const;

private:
    explicit CodePage(const char32_t* high, bool utf8 = false);

    // Each byte's UTF-8 form packed into four bytes (written whole, then the
    // output advances by its length), so decoding needs no branch per byte.
    std::array<std::uint32_t, 256> decodePacked_{};
    std::array<std::uint8_t, 256> decodeLength_{};
    std::vector<std::uint8_t> encodeBmp_; // code point -> byte, 0 = not in the page
    std::array<std::uint8_t, 0x800> encodeTwoByte_{}; // the same for U+0080..U+07FF, small enough to stay in cache
    bool utf8_ = false; // the tables unused: bytes pass as they are
};

// The editor's names for the conversions at the test-file boundary: a test file
// is in the DOS code page, the model's text is Unicode.
std::string OemToAnsi(std::string_view oemBytes);
std::string AnsiToOem(std::string_view text);

} // namespace mirvane
