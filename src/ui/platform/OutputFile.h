#pragma once
// The editor's way to the one safe file helper of the core: every file the
// editor writes goes through here (see testfile/FileIo.h for what it keeps).
#include "model/ChunkedOutput.h"

#include <QString>

#include <optional>

namespace mirvane {

// Nothing on success; otherwise the message naming the file and the cause.
std::optional<QString> WriteOutputFile(const QString& path, const std::function<void(const ChunkSink&)>& produce);

bool IsSameFile(const QString& a, const QString& b);

} // namespace mirvane
