// Feeds any bytes to the reading of a recovery copy's info file: no crash,
// and what it names is UTF-8. The bytes, made UTF-8 and split at the first
// zero byte into a path and a time, also go through the writing of an info
// file and must come back as they were.
#include "Utf8Check.h"
#include "model/Utf8.h"
#include "testfile/RecoveryInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const mirvane::RecoveryInfo read = mirvane::ReadRecoveryInfo(bytes);
    mirvane::fuzzing::CheckUtf8(read.File);
    mirvane::fuzzing::CheckUtf8(read.SavedAt);

    const std::size_t split = std::min(bytes.find('\0'), bytes.size());
    const mirvane::RecoveryInfo written{mirvane::ToUtf8(mirvane::ToUtf32(bytes.substr(0, split))),
                                        mirvane::ToUtf8(mirvane::ToUtf32(bytes.substr(std::min(split + 1, size))))};
    const mirvane::RecoveryInfo again = mirvane::ReadRecoveryInfo(mirvane::RecoveryInfoBytes(written));
    if (again.File != written.File || again.SavedAt != written.SavedAt)
        __builtin_trap();
    return 0;
}
