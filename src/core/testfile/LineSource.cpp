#include "testfile/LineSource.h"

#include <cstring>

namespace mirvane {

LineSource::LineSource(ReadMore read, Restart restart, std::size_t blockSize)
    : read_(std::move(read)), restart_(std::move(restart)), blockSize_(blockSize), lineLimit_(kLongestLine),
      atEnd_(false)
{
}

void LineSource::Rewind()
{
    pos_ = 0;
    lineNumber_ = 0;
    if (!read_)
        return;
    restart_();
    buffer_.clear();
    data_ = {};
    atEnd_ = false;
}

bool LineSource::Refill()
{
    if (atEnd_)
        return false;
    // The unread bytes move to the front; the buffer grows only for a line
    // longer than a block.
    const std::size_t kept = data_.size() - pos_;
    // data_ is the front of buffer_, which a resize may move but keeps.
    if (buffer_.size() < kept + blockSize_)
        buffer_.resize(kept + blockSize_);
    // A long line in the making stays where it is: moving it onto itself
    // for every block would make its reading quadratic.
    if (pos_ > 0)
        std::memmove(buffer_.data(), buffer_.data() + pos_, kept);
    pos_ = 0;
    std::size_t filled = kept;
    while (filled < buffer_.size()) {
        const std::size_t n = read_(buffer_.data() + filled, buffer_.size() - filled);
        if (n == 0) {
            atEnd_ = true;
            break;
        }
        filled += n;
    }
    data_ = std::string_view(buffer_.data(), filled);
    return filled > kept;
}

bool LineSource::Next(std::string_view& line)
{
    std::size_t scanned = 0; // bytes after pos_ known to hold no line ending
    for (;;) {
        const std::size_t size = data_.size();
        if (pos_ >= size) {
            if (!Refill())
                return false;
            continue;
        }
        const char* s = data_.data();
        std::size_t p = pos_ + scanned;
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
        // A line that runs to the end of the block, or a CR whose LF may be
        // in the next one, waits for more bytes.
        if (p - pos_ > lineLimit_)
            throw LineTooLong{};
        if (!atEnd_ && (p == size || (s[p] == '\r' && p + 1 == size))) {
            scanned = p - pos_;
            Refill(); // at the end of the file the line ends where the bytes do
            continue;
        }
        line = data_.substr(pos_, p - pos_);
        if (p < data_.size()) {
            if (s[p] == '\r' && p + 1 < data_.size() && s[p + 1] == '\n')
                p += 2;
            else
                p += 1;
        }
        pos_ = p;
        ++lineNumber_;
        return true;
    }
}

} // namespace mirvane
