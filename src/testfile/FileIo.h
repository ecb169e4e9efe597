#pragma once
// Whole-file reading and writing for the core. Writing never destroys the old
// file: the bytes go to a temporary file beside it, which replaces the old one
// only when everything was written.
#include "model/ChunkedOutput.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mirvane {

// Reads the whole file into `out`. Returns an error text naming the file and
// the reason, or nothing on success.
std::optional<std::string> ReadFileBytes(const std::string& path, std::string& out);

// Writes `bytes` to `path`, replacing the file only when all was written.
// Returns an error text naming the file and the reason, or nothing on success.
std::optional<std::string> WriteFileReplacing(const std::string& path, std::string_view bytes);

// The same for bytes that `produce` hands to its sink in chunks, so that a
// large file is written without being held whole in memory. An exception from
// `produce` removes the temporary file and is passed on.
std::optional<std::string> WriteFileReplacing(const std::string& path,
                                              const std::function<void(const ChunkSink&)>& produce);

} // namespace mirvane
