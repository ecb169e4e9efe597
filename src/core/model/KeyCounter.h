#pragma once
#include <cstdint>

namespace mirvane {

// The program-wide key counter: each call returns the previous value plus 1,
// starting from 1. Divisions and questions draw from the same counter, so keys
// are unique for the whole run. Throws std::overflow_error instead of wrapping.
std::int32_t NextKeyNumber();

// Puts the counter back to its start. The editor never does this; the
// command-line tool does it before each file it reads, and tests use it.
void ResetKeyNumbers();

} // namespace mirvane
