#pragma once
// Loading a test file from disk: the one way the editor, the command-line
// tool, the player and the restoring of unsaved work get a test from a file.
// A file refused (missing, a folder, too large, binary, failing midway) or
// not a test file at all comes back as an error; the reader's messages about
// single lines go to a sink as they come, so that a broken file of a million
// lines is never held as a million messages.
#include "model/EncodingGuess.h"
#include "testfile/FileIo.h"
#include "testfile/ReaderMessages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace mirvane {

class Test;
struct SourceLines;

// How the file's bytes are taken. A file in code page 866, the format's
// own, is read line by line as the reader goes, never held whole; one in
// another encoding is read whole as text and converted.
struct EncodingPolicy {
    // The file's encoding, or nothing to guess it.
    std::optional<TextEncoding> Encoding = TextEncoding::Cp866;
    // When given, asked about a guess other than code page 866: true to read
    // the file in it, false to read it as code page 866. The guess is then
    // made from the file's beginning, so that a code page 866 file is still
    // read line by line. Without it the file is read whole and the guess is
    // made from that (a pipe can be read only once).
    std::function<bool(TextEncoding guess)> Confirm;
};

struct TestFileLoading {
    EncodingPolicy Encoding;
    // Every reader message about the file's lines, as it comes; the
    // not-a-test-file refusal is the error instead.
    MessageSink Messages;
    // Where each mark, division and question starts, when wanted.
    SourceLines* Lines = nullptr;
    // The largest file read line by line, and held whole: larger ones are
    // refused with kFileTooLarge, as is a test that exhausts the memory.
    std::uintmax_t StreamedLimit = UINTMAX_MAX;
    std::uintmax_t HeldLimit = UINTMAX_MAX;
};

struct LoadedTestFile {
    // The test read; the empty test when the file was refused.
    std::unique_ptr<Test> Read;
    // Why the file gave no test. Its message names the file and the cause,
    // except for a file that is not a test file: the reader's own text.
    std::optional<ReadError> Error;
};

// Reads the test file at `path`. Key numbers come from NextKeyNumber().
LoadedTestFile LoadTestFile(const std::string& path, const TestFileLoading& how = {});

} // namespace mirvane
