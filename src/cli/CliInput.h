#pragma once
// How mirvane-cli finds and reads the tests it is given.
#include "model/EncodingGuess.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace mirvane {

class Test;
struct SourceLines;

// How input files are read: in code page 866 (the default, the format's
// own), in a named encoding, or in the one guessed from the bytes.
struct InputEncoding {
    bool guess = false;
    TextEncoding encoding = TextEncoding::Cp866;
};

// Reads IN with a fresh key counter, printing every reader message as
// "IN:LINE: TEXT", and noting where each part starts in `lines` when given.
// False when the file cannot be read or is not a test file.
bool LoadInput(const std::string& path, Test& test, std::ostream& err, const InputEncoding& input,
               SourceLines* lines = nullptr);

// The files named, a folder standing for its ".q" files in name order (and
// those of its subfolders with -r).
std::vector<std::string> CheckedFiles(const std::vector<std::string>& named, bool recursive);

} // namespace mirvane
