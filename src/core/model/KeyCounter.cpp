#include "model/KeyCounter.h"

#include <limits>
#include <stdexcept>

namespace mirvane {

namespace {
std::int32_t gLastKeyNumber = 0;
}

std::int32_t NextKeyNumber()
{
    if (gLastKeyNumber == std::numeric_limits<std::int32_t>::max())
        throw std::overflow_error("key counter overflow");
    return ++gLastKeyNumber;
}

void ResetKeyNumbers() { gLastKeyNumber = 0; }

} // namespace mirvane
