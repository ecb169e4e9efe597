#pragma once
// Walks the lines of a file held in memory. A line ends at CR LF, a lone CR or
// a lone LF; the empty rest after the final line ending is not a line.
#include <cstdint>
#include <string_view>

namespace mirvane {

class LineSource {
public:
    explicit LineSource(std::string_view data) : data_(data) {}

    // The next line without its ending; false when the data is used up.
    bool Next(std::string_view& line);

    // 1-based number of the line Next returned last (0 before the first).
    std::int64_t LineNumber() const { return lineNumber_; }

    void Rewind()
    {
        pos_ = 0;
        lineNumber_ = 0;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
    std::int64_t lineNumber_ = 0;
};

} // namespace mirvane
