#pragma once
// mirvane-cli's "spell": each word of the tests the dictionaries do not
// know, with the line of the file that holds it and its corrections.
#include "cli/CliInput.h"

#include <iosfwd>

namespace mirvane {

// Exit status as RunCli's: 1 when a word is unknown, 0 when none.
int Spell(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input);

} // namespace mirvane
