#include "model/Number.h"

namespace mirvane {

namespace {
inline bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
} // namespace

std::optional<std::int16_t> ReadNumber(std::string_view text)
{
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlankChar(text[i]))
        ++i;
    while (end > i && IsBlankChar(text[end - 1]))
        --end;

    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // The magnitude stops growing once it is far beyond the 16-bit range, so a
    // line of a million digits cannot overflow anything.
    constexpr long kFar = 1000000;
    long magnitude = 0;
    const std::size_t digitsStart = i;
    while (i < end && IsDigit(text[i])) {
        if (magnitude < kFar)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt;

    int firstFraction = 0;
    bool restNonZero = false;
    if (i < end) {
        if (text[i] != '.' && text[i] != ',')
            return std::nullopt;
        ++i;
        const std::size_t fractionStart = i;
        while (i < end && IsDigit(text[i])) {
            if (i == fractionStart)
                firstFraction = text[i] - '0';
            else if (text[i] != '0')
                restNonZero = true;
            ++i;
        }
        if (i == fractionStart)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && (restNonZero || magnitude % 2 == 1));
    if (roundUp)
        ++magnitude;
    const long value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

std::string FormatNumber(int value) { return std::to_string(value); }

} // namespace mirvane
