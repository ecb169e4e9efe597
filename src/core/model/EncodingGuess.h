#pragma once
// Test files are in code page 866; a file another text editor saved as UTF-8
// or windows-1251 reads as box-drawing garbage there. The guess tells such a
// file apart, and never takes a real code page 866 file for one: 866 text is
// practically never valid UTF-8, and its high bytes are nearly all letters.
#include <cstddef>
#include <string>
#include <string_view>

namespace mirvane {

enum class TextEncoding { Cp866, Utf8, Cp1251 };

// Cp866 unless the bytes are valid UTF-8 whose characters beyond ASCII are
// mostly letters and signs of text (not of far-off scripts), or read as
// Cyrillic letters far better in windows-1251 than in 866.
TextEncoding GuessEncoding(std::string_view bytes);

// The guess looks at this many bytes from the beginning of a file, at most:
// enough text to tell, and a large file costs no more than a small one.
inline constexpr std::size_t kEncodingSample = 256 * 1024;

// "UTF-8", "windows-1251", "cp866".
const char* EncodingName(TextEncoding encoding);

// The bytes in code page 866, for the test-file reader: typographic
// characters become plain ones; a character 866 lacks becomes "?".
std::string ToCp866(std::string_view bytes, TextEncoding from);

} // namespace mirvane
