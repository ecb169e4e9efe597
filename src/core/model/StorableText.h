#pragma once
// Text the test file can store. The file is in code page 866; what a user
// types or pastes is kept to it as it is typed, so that what the box shows is
// what is saved: the typographic characters word processors produce become
// their plain equivalents, and any other character the page lacks is named
// to the user before a save turns it into "?".
#include <string>
#include <string_view>

namespace mirvane {

class Test;

// The text with every typographic character of the table replaced by its
// plain equivalent (« » „ “ ” → ", ‘ ’ ‚ → ', – — − → -, … → ..., the narrow
// and figure spaces → the no-break space 866 has, and the like).
std::string ToStorableText(std::string_view text);

// The characters of the text that code page 866 lacks, each once, in order.
std::u32string UnstorableCharacters(std::string_view text);

// The same for every text of a test that its file stores.
std::u32string UnstorableCharacters(const Test& test);

} // namespace mirvane
