#include "testfile/LineSource.h"

namespace mirvane {

bool LineSource::Next(std::string_view& line)
{
    const std::size_t size = data_.size();
    if (pos_ >= size)
        return false;
    const char* s = data_.data();
    std::size_t p = pos_;
    // Most bytes are above CR, so one comparison usually decides.
    while (p < size && (static_cast<unsigned char>(s[p]) > '\r' || (s[p] != '\r' && s[p] != '\n')))
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
