#pragma once
// The one way a number is read from text, shared by the test-file reader, the
// editing panels and the spin controls.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirvane {

// Optional blanks (space, tab), an optional sign directly followed by one or
// more digits, optionally "." or "," followed by one or more digits, optional
// blanks. Rounded to the nearest integer, halves to even. Anything else, and a
// value outside -32768..32767, is not a number.
std::optional<std::int16_t> ReadNumber(std::string_view text);

// Plain decimal: a minus sign for negatives, no leading zeros or blanks.
std::string FormatNumber(int value);

} // namespace mirvane
