#include "testfile/LineSource.h"

#include <cstring>

namespace mirvane {

bool LineSource::Next(std::string_view& line)
{
    const std::size_t size = data_.size();
    if (pos_ >= size)
        return false;
    const char* s = data_.data();
    std::size_t p = pos_;
    // Eight bytes at a time: a word without CR or LF is skipped whole.
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    while (p + 8 <= size) {
        std::uint64_t w;
        std::memcpy(&w, s + p, 8);
        const std::uint64_t cr = w ^ (kOnes * '\r');
        const std::uint64_t lf = w ^ (kOnes * '\n');
        if ((((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs)
            break;
        p += 8;
    }
    while (p < size && s[p] != '\r' && s[p] != '\n')
        ++p;
    line = data_.substr(pos_, p - pos_);
    if (p < size) {
        if (s[p] == '\r' && p + 1 < size && s[p + 1] == '\n')
            p += 2;
        else
            p += 1;
    }
    pos_ = p;
    ++lineNumber_;
    return true;
}

} // namespace mirvane
