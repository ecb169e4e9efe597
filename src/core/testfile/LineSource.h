#pragma once
// Walks the lines of a file. A line ends at CR LF, a lone CR or a lone LF; the
// empty rest after the final line ending is not a line.
//
// The lines come either from bytes held in memory, or from a file read in
// blocks as they are needed, so that a large file is never held whole. A
// line's view is valid until the next call of Next() or Rewind().
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace mirvane {

class LineSource {
public:
    // Fills up to `size` bytes at `into` with what comes next; 0 at the end.
    // A read error is thrown.
    using ReadMore = std::function<std::size_t(char* into, std::size_t size)>;
    // Goes back to the start of the file.
    using Restart = std::function<void()>;

    explicit LineSource(std::string_view data) : data_(data) {}
    LineSource(ReadMore read, Restart restart, std::size_t blockSize = std::size_t{1} << 18);

    // The next line without its ending; false when the data is used up. A
    // line longer than the limit set below throws LineTooLong, before more of
    // it is read.
    bool Next(std::string_view& line);

    struct LineTooLong {};
    // A file read in blocks holds no line longer than this, so that one that
    // never ends (a pipe, a device) cannot take all the memory; bytes held
    // in memory have no limit.
    static constexpr std::size_t kLongestLine = std::size_t{16} << 20;
    void LimitLines(std::size_t bytes) { lineLimit_ = bytes; }
    std::size_t LineLimit() const { return lineLimit_; }

    // 1-based number of the line Next returned last (0 before the first).
    std::int64_t LineNumber() const { return lineNumber_; }

    void Rewind();

private:
    // Keeps the unread bytes, reads more after them. False at the end.
    bool Refill();

    std::string_view data_;
    std::size_t pos_ = 0;
    std::int64_t lineNumber_ = 0;
    // Reading in blocks.
    ReadMore read_;
    Restart restart_;
    std::string buffer_;
    std::size_t blockSize_ = 0;
    std::size_t lineLimit_ = SIZE_MAX;
    bool atEnd_ = true; // nothing more to read than data_
};

} // namespace mirvane
