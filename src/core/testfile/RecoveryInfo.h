#pragma once
// The info file beside a copy of unsaved work: the document's path and the
// time the copy was made, as a JSON object {"file": ..., "savedAt": ...} so
// that any legal path survives (a line break included). An earlier version
// wrote the two as lines. Reading takes any bytes: the file may be torn.
#include <string>
#include <string_view>

namespace mirvane {

struct RecoveryInfo {
    std::string File;    // UTF-8; empty when the info names none
    std::string SavedAt; // as written (ISO 8601); empty when missing
};

std::string RecoveryInfoBytes(const RecoveryInfo& info);

// The object's "file" and "savedAt" strings (a value of another kind reads
// as empty); bytes that are no JSON object are read as the two lines. Any
// byte that starts no UTF-8 character comes back as U+FFFD.
RecoveryInfo ReadRecoveryInfo(std::string_view bytes);

} // namespace mirvane
