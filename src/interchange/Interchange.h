#pragma once
// Tests travel to and from the quiz formats of learning platforms: Moodle
// XML, GIFT and Aiken. A division is a category, a question a single-choice
// question whose answers carry a share of the best score. What a format
// cannot say, and what the player cannot show, is left out and told.
#include <cstdint>
#include <memory>
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

struct ImportedTest {
    std::unique_ptr<Test> Read;
    // What was left out: questions of types the player cannot show, with
    // their names and lines, and answers beyond the ninth.
    std::vector<std::string> Notes;
    // How many questions were left out.
    int Skipped = 0;
};

// The answer's score as a Moodle fraction: the share of the best score, to
// the nearest fraction Moodle accepts (100, 90, 83.33333, ... 5, 0, and the
// same negated). The best answer itself is 100.
double MoodleFraction(int score, int bestScore);
// "83.33333", "100", "-50": as the fraction is written.
std::string FractionText(double fraction);
// A fraction read back as a score: fraction / 10, rounded half to even.
std::int16_t ScoreFromFraction(double fraction);

std::string ExportMoodleXml(const Test& test, const DocumentOrder& order);
// What a format could not say is left out and counted: in GIFT a question
// of fewer than two answers (one answer reads as a short-answer question),
// in Aiken one without exactly one best answer or without a text.
struct QuizExport {
    std::string Text;
    int Skipped = 0;
};
QuizExport ExportGift(const Test& test, const DocumentOrder& order);
QuizExport ExportAiken(const Test& test, const DocumentOrder& order);

enum class QuizFormat { MoodleXml, Gift, Aiken };

// The format of a file: by its extension (".xml", ".gift"), else by its
// text: markup is Moodle XML, "ANSWER:" lines without braces Aiken, the rest
// GIFT.
QuizFormat DetectQuizFormat(std::string_view text, std::string_view fileName);

// `fileStem` names the test, and the division of questions that come
// without a category. Throws ImportError for a file that cannot be read.
ImportedTest ImportMoodleXml(std::string_view bytes, const std::string& fileStem);
ImportedTest ImportGift(std::string_view text, const std::string& fileStem);
ImportedTest ImportAiken(std::string_view text, const std::string& fileStem);
ImportedTest ImportQuiz(QuizFormat format, std::string_view text, const std::string& fileStem);

} // namespace mirvane
