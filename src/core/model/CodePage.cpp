#include "model/CodePage.h"

#include "model/CodePageTables.h"
#include "model/Utf8.h"

#include <cstring>

namespace mirvane {

CodePage::CodePage(const char32_t* high, bool utf8)
    : encodeBmp_(0x10000, 0), utf8_(utf8)
{
    for (int b = 0; b < 256; ++b) {
        char32_t cp = b < 0x80 ? static_cast<char32_t>(b) : high[b - 0x80];
        if (cp == 0 && b != 0)
            cp = 0xFFFD; // a byte the page leaves undefined
        std::string encoded;
        AppendUtf8(encoded, cp);
        char packed[4] = {0, 0, 0, 0};
        for (std::size_t i = 0; i < encoded.size(); ++i)
            packed[i] = encoded[i];
        std::memcpy(&decodePacked_[b], packed, 4);
        decodeLength_[b] = static_cast<std::uint8_t>(encoded.size());
        if (b >= 0x80 && cp != 0xFFFD) {
            encodeBmp_[cp] = static_cast<std::uint8_t>(b);
            if (cp < 0x800)
                encodeTwoByte_[cp] = static_cast<std::uint8_t>(b);
        }
    }
}

const CodePage& CodePage::Dos()
{
    static const CodePage page(codepage_tables::kCp866High);
    return page;
}

const CodePage& CodePage::Windows()
{
    static const CodePage page(codepage_tables::kCp1251High);
    return page;
}

const CodePage& CodePage::Utf8()
{
    static const CodePage page(codepage_tables::kCp1251High, true);
    return page;
}

void CodePage::DecodeAppend(std::string& out, std::string_view bytes) const
{
    if (utf8_) {
        EncodeAppend(out, bytes); // kept as it is, but valid
        return;
    }
    // At most three UTF-8 bytes per byte, plus one of slack for the last
    // four-byte store.
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3 + 1);
    char* dst = out.data() + start;
    for (unsigned char c : bytes) {
        std::memcpy(dst, &decodePacked_[c], 4);
        dst += decodeLength_[c];
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

std::string CodePage::Decode(std::string_view bytes) const
{
    std::string out;
    DecodeAppend(out, bytes);
    return out;
}

void CodePage::EncodeAppend(std::string& out, std::string_view text) const
{
    if (utf8_) {
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t at = i;
            const char32_t cp = Utf8Next(text, i);
            if (cp == 0xFFFD && text.substr(at, i - at) != "\xEF\xBF\xBD")
                out += '?';
            else
                out.append(text.substr(at, i - at));
        }
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* dst = out.data() + start;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Text mixes ASCII (blanks, digits) with two-byte Cyrillic letters.
        // Both are handled without a branch on which one it is, so the loop
        // does not stall at every word boundary; anything else takes the
        // general path.
        const unsigned c = s[i];
        const unsigned next = i + 1 < n ? s[i + 1] : 0;
        const bool ascii = c < 0x80;
        const bool pair = c >= 0xC2 && c < 0xE0 && (next & 0xC0) == 0x80;
        if (ascii | pair) {
            const unsigned mapped = encodeTwoByte_[((c & 0x1F) << 6) | (next & 0x3F)];
            const unsigned letter = mapped != 0 ? mapped : '?';
            *dst++ = static_cast<char>(ascii ? c : letter);
            i += pair ? 2 : 1;
            continue;
        }
        std::size_t at = i;
        const char32_t cp = Utf8Next(text, at);
        i = at;
        const std::uint8_t b = cp < 0x10000 ? encodeBmp_[cp] : 0;
        *dst++ = b != 0 ? static_cast<char>(b) : '?';
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

std::string CodePage::Encode(std::string_view text) const
{
    std::string out;
    EncodeAppend(out, text);
    return out;
}

std::string OemToAnsi(std::string_view oemBytes) { return CodePage::Dos().Decode(oemBytes); }

std::string AnsiToOem(std::string_view text) { return CodePage::Dos().Encode(text); }

} // namespace mirvane
