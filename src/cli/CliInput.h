#pragma once
// How mirvane-cli takes its command line apart, finds and reads the tests it
// is given, and prints what files say.
#include "model/EncodingGuess.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

class Test;
struct SourceLines;

// The command line taken apart: options are recognised wherever they stand,
// "--" ends them, and every other word is a name (after "--" even one that
// starts with "-"). An option given twice keeps both values.
struct CommandLine {
    std::string command;
    std::vector<std::string> names;
    std::map<std::string, std::vector<std::string>> values;
    std::set<std::string> flags;

    bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
    // The last value given, if any.
    std::optional<std::string> Value(const std::string& option) const
    {
        const auto found = values.find(option);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second.back());
    }
    std::vector<std::string> Values(const std::string& option) const
    {
        const auto found = values.find(option);
        return found == values.end() ? std::vector<std::string>() : found->second;
    }
};

// How input files are read: in code page 866 (the default, the format's
// own), in a named encoding, or in the one guessed from the bytes.
struct InputEncoding {
    bool guess = false;
    TextEncoding encoding = TextEncoding::Cp866;
    bool named = false; // given with --encoding rather than the default
};

// A test takes some two and a half times its file in memory; a file held
// whole beside it (another encoding, an import) once more.
inline constexpr std::uintmax_t kMemoryPerByteRead = 3;
inline constexpr std::uintmax_t kMemoryPerByteHeld = 4;

// The most bytes a file read at `memoryPerByte` may have in the memory there is.
std::uintmax_t ReadLimit(std::uintmax_t memoryPerByte);

// Names and texts come from files anyone may have written: a control
// character is shown as \xNN (a C1 control as \u00NN) instead of reaching
// the terminal.
std::string Printable(std::string_view text);
// The same, appended to `shown`.
void AppendPrintable(std::string& shown, std::string_view text);

// One line of output, made printable.
void Say(std::ostream& to, std::string_view line);

// Reads IN with a fresh key counter, printing every reader message as
// "IN:LINE: TEXT", and noting where each part starts in `lines` when given.
// False when the file cannot be read, is too large for the memory there is
// or is not a test file.
bool LoadInput(const std::string& path, Test& test, std::ostream& err, const InputEncoding& input,
               SourceLines* lines = nullptr);

// The files named into `files`, a folder standing for its ".q" files in name
// order (and those of its subfolders when `recursive`). A folder that cannot
// be read is reported on `err`; false then, once the rest is taken.
bool CheckedFiles(const std::vector<std::string>& named, bool recursive, std::vector<std::string>& files,
                  std::ostream& err);

} // namespace mirvane
