#include "testfile/TestFileReader.h"

#include "model/CodePage.h"
#include "model/NodeKey.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/Test.h"

#include <algorithm>
#include <memory>

namespace mirvane {

namespace {

// A line's command is its first two characters; ")" alone and the empty line
// are commands of their own.
std::string_view Command(std::string_view line) { return line.substr(0, 2); }

std::string_view Argument(std::string_view line)
{
    std::string_view rest = line.size() > 2 ? line.substr(2) : std::string_view();
    const std::size_t b = rest.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    const std::size_t e = rest.find_last_not_of(' ');
    return rest.substr(b, e - b + 1);
}

bool IsCommentBlockLine(std::string_view line) { return Command(line) == ")/"; }

// A field the writer keeps on one line (the title, a mark's description, a
// division's name, the journal file) is read as it will be written: a form
// feed or vertical tab in it becomes a blank now, so that resaving the file
// gives the same file.
std::string OneLineField(std::string_view bytes) { return LineBreaksAsSpaces(OemToAnsi(bytes)); }

// The offending line is shown to the user; a line of megabytes would make an
// unreadable message box, so only its beginning is quoted.
constexpr std::size_t kQuotedLineLimit = 500;

std::string QuoteLine(std::string_view oemLine)
{
    if (oemLine.size() <= kQuotedLineLimit)
        return OemToAnsi(oemLine);
    return OemToAnsi(oemLine.substr(0, kQuotedLineLimit)) + "…";
}

} // namespace

TestFileReader::TestFileReader(Test& test, MessageSink sink)
    : test_(test), sink_(std::move(sink))
{
}

bool TestFileReader::IsQFile(LineSource& source)
{
    // A test file opens with short lines; a first line of megabytes (or one
    // that never ends, as /dev/zero's) is not read whole to find that out.
    // A long line after the command lines that make it a test file (a long
    // question) is read by the reader itself, as long as it is.
    constexpr std::size_t kFirstLinesLimit = std::size_t{4} << 20;
    int commandLines = 0;
    std::string_view line;
    const std::size_t limit = source.LineLimit();
    source.LimitLines(std::min(limit, kFirstLinesLimit));
    try {
        for (int i = 0; i < 101 && source.Next(line); ++i) {
            if (!line.empty() && line.front() == ')')
                ++commandLines;
        }
    } catch (const LineSource::LineTooLong&) {
    }
    source.LimitLines(limit);
    return commandLines >= 3;
}

bool TestFileReader::LoadFile(std::string_view bytes)
{
    LineSource source(bytes);
    return LoadFile(source);
}

bool TestFileReader::LoadFile(LineSource& source)
{
    test_.Reset();
    if (lines_)
        *lines_ = SourceLines{};
    source_ = &source;
    if (!IsQFile(source)) {
        if (sink_)
            sink_({0, std::string(reader_text::kNotATestFile)});
        source_ = nullptr;
        return false;
    }
    source.Rewind();

    // Mark 0 is the failing mark; it has no score of its own in a file.
    test_.MarkScoresSet(0, Test::kFailingMarkScore);

    std::string_view titleLine;
    source.Next(titleLine); // IsQFile saw at least three lines
    test_.TestName = OneLineField(titleLine);

    int ordinal = 0;
    std::optional<std::string_view> current = NextLine();
    while (current) {
        if (Command(*current) == ")*") {
            ++ordinal;
            if (lines_)
                lines_->Divisions.push_back(source.LineNumber());
            const std::string key = NextKey(NodeKind::Division);
            auto division = std::make_unique<Division>();
            division->Key = key;
            division->Name = "Раздел " + std::to_string(ordinal);
            Division& added = test_.Divisions.Add(key, std::move(division));
            current = LoadDivision(added, *current);
            continue;
        }
        ReadTestLevelLine(*current);
        current = NextLine();
    }
    source_ = nullptr;
    return true;
}

void TestFileReader::ReadTestLevelLine(std::string_view line)
{
    const std::string_view command = Command(line);
    const std::string_view argument = Argument(line);

    if (command == ")t") {
        if (auto value = ReadNumber(argument))
            test_.TestTime = Test::IsValidTime(*value) ? *value : Test::kDefaultTime;
        else
            Report(reader_text::kBadTime);
    } else if (command == ")\"") {
        if (auto value = ReadNumber(argument)) {
            if (*value == 0 || *value == 1) {
                test_.ShowErrors = *value;
            } else {
                test_.ShowErrors = 0;
                Report(reader_text::kBadShowErrors);
            }
        }
    } else if (command == ")f") {
        // A form feed or vertical tab at the name's edge would be written
        // back as a blank and then trimmed: the name is taken without them.
        const std::string_view name = TrimBlanksView(argument);
        if (name.size() >= 2 && name.size() <= 10) {
            test_.LogFile = OneLineField(name);
        } else {
            test_.LogFile = "LOG.TXT";
            Report(reader_text::kBadLogFile);
        }
    } else if (command == ")@") {
        if (auto value = ReadNumber(argument)) {
            if (*value >= 0 && *value <= 2) {
                test_.LogType = *value;
            } else {
                test_.LogType = 0;
                Report(reader_text::kBadLogType);
            }
        }
    } else if (command == ")<") {
        // The next line is the failing mark's description; at the end of the
        // file it is simply empty.
        if (lines_)
            lines_->Marks[0] = source_->LineNumber();
        const auto description = NextLine();
        test_.MarkDiscriptionsSet(0, description ? OemToAnsi(*description) : std::string());
        test_.MarkScoresSet(0, Test::kFailingMarkScore);
    } else if (command == ")>") {
        ReadMark(argument);
    } else if (command == ")?") {
        Report(reader_text::kQuestionOutsideDivision);
    } else if (command == ")!") {
        Report(reader_text::kAnswerOutsideDivision);
    } else if (command == ")/") {
        SkipCommentBlock();
    } else if (command == "):" || command == ")" || command == ") " || command.empty()) {
        // Ignored at test level.
    } else {
        Report(std::string(reader_text::kUnknownCommand) + std::string(kCrLf) + QuoteLine(line));
    }
}

void TestFileReader::ReadMark(std::string_view argument)
{
    const auto score = ReadNumber(argument);
    if (!score) {
        // The description line is then read as a command line.
        Report(reader_text::kBadMarkScore);
        return;
    }
    int slot = 0;
    for (int i = 1; i <= 9; ++i) {
        if (test_.MarkDiscriptionsGet(i).empty()) {
            slot = i;
            break;
        }
    }
    if (slot == 0)
        return; // all nine taken: the description line is read as a command line
    if (lines_)
        lines_->Marks[static_cast<std::size_t>(slot)] = source_->LineNumber();
    const auto description = NextLine();
    test_.MarkScoresSet(slot, *score);
    test_.MarkDiscriptionsSet(slot, description ? OneLineField(*description) : std::string());
}

std::optional<std::string_view> TestFileReader::LoadDivision(Division& division,
                                                             std::string_view openingLine)
{
    std::string_view argument = Argument(openingLine);
    if (argument.empty())
        argument = "1";
    if (auto value = ReadNumber(argument)) {
        if (*value >= 0 && *value <= 25) {
            division.NQ = *value;
        } else {
            division.NQ = 1;
            Report(reader_text::kQuestionCountOutOfRange);
        }
    } else {
        division.NQ = 1;
        Report(reader_text::kBadDivision);
    }

    std::optional<std::string_view> current = NextLine();
    if (current && Command(*current) == "):") {
        division.Name = OneLineField(current->substr(2));
        current = NextLine();
    }
    while (current) {
        const std::string_view command = Command(*current);
        if (command == ")?") {
            if (lines_)
                lines_->Questions.push_back(source_->LineNumber());
            const std::string key = NextKey(NodeKind::Question);
            auto question = std::make_unique<Question>();
            question->Key = key;
            Question& added = division.Questions.Add(key, std::move(question));
            current = LoadQuestion(scratch_);
            added.TakeContentOf(scratch_);
            continue;
        }
        if (command == ")*")
            return current;
        if (command == "):" || command == ")" || command == ") " || command.empty()) {
            // ignored
        } else if (command == ")/") {
            SkipCommentBlock();
        } else {
            Report(reader_text::kBadDivisionLine);
        }
        current = NextLine();
    }
    return std::nullopt;
}

std::optional<std::string_view> TestFileReader::LoadQuestion(Question& question)
{
    const CodePage& dos = CodePage::Dos();
    int answer = -1; // -1: the question text is being read
    std::optional<std::string_view> current = NextLine();
    while (current) {
        const std::string_view command = Command(*current);
        if (command == ")*" || command == ")?")
            return current;
        if (command == ")!") {
            ++answer;
            if (answer == 9) {
                Report(reader_text::kTooManyAnswers);
                return current;
            }
            std::string_view argument = Argument(*current);
            if (argument.empty())
                argument = "0";
            if (auto value = ReadNumber(argument))
                question.AScoreSet(answer, *value);
            else
                Report(reader_text::kBadAnswerScore);
        } else if (command == "):" || command == ")" || command == ") ") {
            // ignored
        } else if (command == ")/") {
            SkipCommentBlock();
        } else {
            question.AppendLine(answer < 0 ? Question::kQuestionText : answer, *current, dos);
        }
        current = NextLine();
    }
    return std::nullopt;
}

void TestFileReader::SkipCommentBlock()
{
    std::string_view line;
    while (source_->Next(line)) {
        if (IsCommentBlockLine(line))
            return;
    }
}

std::optional<std::string_view> TestFileReader::NextLine()
{
    std::string_view line;
    if (!source_->Next(line))
        return std::nullopt;
    return line;
}

void TestFileReader::Report(std::string_view text)
{
    if (sink_)
        sink_({source_->LineNumber(), std::string(text)});
}

} // namespace mirvane
