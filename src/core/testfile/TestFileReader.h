#pragma once
// Reads a test file (the player's ".q" format, DOS code page) into a Test. The
// reader never stops at a bad line: it reports it to the sink, applies the
// default where one is defined and goes on. The only refusal is a file that is
// not a test file at all.
#include "testfile/LineSource.h"
#include "model/Question.h"
#include "testfile/ReaderMessages.h"
#include "testfile/SourceLines.h"

#include <optional>
#include <string_view>

namespace mirvane {

class Test;
class Division;

class TestFileReader {
public:
    TestFileReader(Test& test, MessageSink sink);

    // True when at least 3 of the first 101 lines begin with ")". Leaves the
    // source after the last line it read.
    static bool IsQFile(LineSource& source);

    // Resets the test and reads the whole file. Returns false, after reporting
    // the not-a-test-file message, when the file is not a test file; the test
    // then stays reset. Key numbers come from NextKeyNumber().
    bool LoadFile(std::string_view bytes);
    // The same for lines read from a file as they are needed. A line beyond
    // the source's limit throws LineSource::LineTooLong.
    bool LoadFile(LineSource& source);

    // Loading also notes in `lines` where each mark, division and question
    // starts; it is cleared first. Nothing is noted without it.
    void RecordLinesIn(SourceLines* lines) { lines_ = lines; }

private:
    // Each returns the line at which it stopped (a line that opens the next
    // division or question, or the tenth ")!" line), or nothing at the end.
    std::optional<std::string_view> LoadDivision(Division& division, std::string_view openingLine);
    std::optional<std::string_view> LoadQuestion(Question& question);

    void ReadTestLevelLine(std::string_view line);
    void ReadMark(std::string_view argument);
    void SkipCommentBlock();
    std::optional<std::string_view> NextLine();
    void Report(std::string_view text);

    Test& test_;
    MessageSink sink_;
    LineSource* source_ = nullptr;
    SourceLines* lines_ = nullptr;
    Question scratch_; // each question is read here first
};

} // namespace mirvane
