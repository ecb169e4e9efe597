#pragma once
// Tests travel to and from the quiz formats of learning platforms: Moodle
// XML, GIFT and Aiken. A division is a category, a question a single-choice
// question whose answers carry a share of the best score. What a format
// cannot say, and what the player cannot show, is left out and told.
#include "model/EncodingGuess.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

class Test;
struct DocumentOrder;

// A file that cannot be read at all, with the line where reading stopped.
class ImportError : public std::runtime_error {
public:
    ImportError(std::size_t line, const std::string& what) : std::runtime_error(what), line_(line) {}
    std::size_t Line() const { return line_; }

private:
    std::size_t line_;
};

// An import stopped by its caller.
class ImportCancelled : public std::runtime_error {
public:
    ImportCancelled() : std::runtime_error("импорт отменён") {}
};

// Told how far an import has read: `done` of `total` bytes. Returning false
// stops the import, which then throws ImportCancelled. It may be called from
// the thread that imports, so it must be safe to call from there.
using ImportProgress = std::function<bool(std::size_t done, std::size_t total)>;

struct ImportedTest {
    std::unique_ptr<Test> Read;
    // What was left out: questions of types the player cannot show, with
    // their names and lines, and answers beyond the ninth.
    std::vector<std::string> Notes;
    // How many questions were left out.
    int Skipped = 0;
    // In step with Notes: the line (or paragraph) each concerns, 0 for none.
    std::vector<std::size_t> NoteLines;
    // The lines of a marked text, or the paragraphs of a document, so that a
    // note's place can be shown; empty for the quiz formats.
    std::vector<std::string> SourceLines;
    // Notes count paragraphs, not lines.
    bool Paragraphs = false;
};

// The answer's score as a Moodle fraction: the share of the best score, to
// the nearest fraction Moodle accepts (100, 90, 83.33333, ... 5, 0, and the
// same negated). The best answer itself is 100.
double MoodleFraction(int score, int bestScore);
// "83.33333", "100", "-50": as the fraction is written.
std::string FractionText(double fraction);
// A fraction read back as a score: the per cent itself, so that the scores
// keep the fractions' proportions (5 % is 5, not nothing); rounded half to
// even.
std::int16_t ScoreFromFraction(double fraction);

// What a format could not say is left out and counted: in GIFT a question
// of fewer than two answers (one answer reads as a short-answer question),
// in Aiken one without exactly one best answer or without a text, in Moodle
// XML one Moodle would refuse (fewer than two answers, none at 100 %). GIFT
// and Aiken files begin with UTF-8's byte-order mark.
struct QuizExport {
    std::string Text;
    int Skipped = 0;
    // One line each: what was left out or changed, and why.
    std::vector<std::string> Notes;
};
QuizExport ExportMoodleXml(const Test& test, const DocumentOrder& order);
QuizExport ExportGift(const Test& test, const DocumentOrder& order);
QuizExport ExportAiken(const Test& test, const DocumentOrder& order);

// MarkedText, Docx and Odt: questions a teacher typed with simple marks
// (numbers, "+" and "-", lettered answers, "# " divisions), in a text file or
// a word processor's document.
enum class QuizFormat { MoodleXml, Gift, Aiken, MarkedText, Docx, Odt };

// The format of a file: by its extension (".xml", ".gift", ".docx", ".odt"),
// else by its content: a zip archive is a document (OpenDocument when it says
// so), markup is Moodle XML, GIFT's braces GIFT, numbered questions marked
// text, "ANSWER:" lines Aiken, the rest GIFT.
QuizFormat DetectQuizFormat(std::string_view text, std::string_view fileName);

// `fileStem` names the test, and the division of questions that come
// without a category. Throws ImportError for a file that cannot be read.
ImportedTest ImportMoodleXml(std::string_view bytes, const std::string& fileStem, const ImportProgress& progress = {});
// GIFT and Aiken take the file's bytes as QuizText reads them, and tell
// their progress as they read.
ImportedTest ImportGift(std::string_view bytes, const std::string& fileStem,
                        std::optional<TextEncoding> encoding = std::nullopt, const ImportProgress& progress = {});
ImportedTest ImportAiken(std::string_view bytes, const std::string& fileStem,
                         std::optional<TextEncoding> encoding = std::nullopt, const ImportProgress& progress = {});
// The marked text: a file's bytes as QuizText reads them. Notes name lines.
ImportedTest ImportMarkedText(std::string_view bytes, const std::string& fileStem,
                              std::optional<TextEncoding> encoding = std::nullopt, const ImportProgress& progress = {});
// A Word (.docx) or OpenDocument (.odt) file's bytes: the same marks paragraph
// by paragraph, with the word processor's lists and bold or underlined
// answers. Notes name paragraphs. Throws ImportError for an archive that is
// broken, encrypted or holds no such document.
ImportedTest ImportDocx(std::string_view bytes, const std::string& fileStem, const ImportProgress& progress = {});
ImportedTest ImportOdt(std::string_view bytes, const std::string& fileStem, const ImportProgress& progress = {});
// The test in the marks, UTF-8 with its byte-order mark: importing it gives the same texts, answers,
// scores and divisions.
std::string ExportMarkedText(const Test& test, const DocumentOrder& order);

// What an import brings, for a look before it is taken: each division with
// its number of questions and the captions of those without a right answer
// (no answer scores above 0).
struct ImportedDivision {
    std::string Name;
    std::size_t Questions = 0;
    std::vector<std::string> WithoutRightAnswer;
};
std::vector<ImportedDivision> ImportOverview(const Test& test);

// Moodle XML tells its progress only before and after reading.
ImportedTest ImportQuiz(QuizFormat format, std::string_view text, const std::string& fileStem,
                        std::optional<TextEncoding> encoding = std::nullopt, const ImportProgress& progress = {});

// A text file's bytes as UTF-8: a byte-order mark decides (UTF-8, UTF-16),
// else `encoding` when given, else the guess among UTF-8, windows-1251 and
// code page 866. Throws ImportError "не текстовый файл" for bytes no text
// file holds (NUL bytes, an archive such as a .docx).
std::string QuizText(std::string_view bytes, std::optional<TextEncoding> encoding);

} // namespace mirvane
