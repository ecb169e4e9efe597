#include "model/CodePage.h"

#include "model/CodePageTables.h"
#include "model/Utf8.h"

namespace mirvane {

CodePage::CodePage(const char32_t* high)
    : encodeBmp_(0x10000, 0)
{
    for (int b = 0; b < 256; ++b) {
        char32_t cp = b < 0x80 ? static_cast<char32_t>(b) : high[b - 0x80];
        if (cp == 0 && b != 0)
            cp = 0xFFFD; // a byte the page leaves undefined
        std::string utf8;
        AppendUtf8(utf8, cp);
        Utf8Bytes& d = decode_[b];
        d.length = static_cast<std::uint8_t>(utf8.size());
        for (std::size_t i = 0; i < utf8.size(); ++i)
            d.bytes[i] = utf8[i];
        if (b >= 0x80 && cp != 0xFFFD)
            encodeBmp_[cp] = static_cast<std::uint8_t>(b);
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

void CodePage::DecodeAppend(std::string& out, std::string_view bytes) const
{
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3);
    char* dst = out.data() + start;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            *dst++ = static_cast<char>(c);
        } else {
            const Utf8Bytes& d = decode_[c];
            dst[0] = d.bytes[0];
            dst[1] = d.bytes[1];
            dst[2] = d.bytes[2];
            dst += d.length;
        }
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
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* dst = out.data() + start;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            *dst++ = static_cast<char>(c);
            ++pos;
            continue;
        }
        const char32_t cp = Utf8Next(text, pos);
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
