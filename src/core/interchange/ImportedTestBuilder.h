#pragma once
// Builds the test an importer reads: divisions by name in the order first
// met, questions with at most nine answers, texts as the test file can keep
// them and as the panel would store them (CR LF breaks, typographic
// characters made plain, lines rewrapped so that none begins with ")"),
// marks and asked counts the structure check accepts. Every note is one line.
#include "interchange/Interchange.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mirvane {

class Division;
class Question;

class ImportedTestBuilder {
public:
    ImportedTestBuilder(const std::string& fileStem, ImportedTest& result);

    // A category path as the formats write it; its context prefix
    // ("$course$/") is not part of the division's name.
    void SetCategory(const std::string& path);
    // A division's name as it stands; empty for the file's own division.
    void SetDivision(const std::string& name) { category_ = name; }
    // The notes of a document name its paragraphs ("абзац 12") instead of
    // lines, and its scores are written ones, not a share of the best: no
    // note on right answers with part of the best score.
    void ForMarkedDocument(bool paragraphs)
    {
        place_ = paragraphs ? "абзац " : "строка ";
        scoresWritten_ = true;
        result_.Paragraphs = paragraphs;
    }

    struct Answer {
        std::string Text;
        double Fraction = 0;
    };
    // `line`: where the question begins, for the notes. Answers blank once
    // trimmed are dropped; a question left with fewer than two is dropped
    // with a note. Beyond nine answers the best nine are kept. Scores keep
    // the fractions' proportions: 100 % is 100, 5 % is 5. False when the
    // question was dropped.
    bool AddQuestion(const std::string& name, const std::string& text, const std::vector<Answer>& answers,
                     std::size_t line);
    // A question of a type the player cannot show.
    void Skip(const std::string& type, const std::string& name, std::size_t line);
    // A question that could not be read, with the reason.
    void Drop(const std::string& name, std::size_t line, const std::string& reason);
    // A part of a question the test cannot hold ("отзывы не перенесены").
    void LeftOut(const std::string& name, std::size_t line, const std::string& what);
    // Anything else told about a line.
    void Note(std::size_t line, const std::string& text);

    // Asks every question while the test stays within the 25 the player
    // asks, else shares the 25 among the divisions by their sizes; gives the
    // test the marks "Не сдано" and "Сдано" at half the best run's score.
    // Throws ImportError when the file held nothing at all.
    void Finish();

private:
    Division& DivisionNamed(const std::string& name);

    std::string fileStem_;
    ImportedTest& result_;
    std::string category_;
    std::map<std::string, Division*> divisions_;
    std::string place_ = "строка ";
    bool scoresWritten_ = false;
};

// Text as the model keeps it: any line break as CR LF, typographic
// characters as plain ones, blanks trimmed at both ends; of each line too,
// unless `lineBlanks` keeps those inside the text (a line's indent, and the
// blanks the rewrap leaves where it broke a line).
std::string ModelText(std::string_view text, bool lineBlanks = false);
// UTF-8's byte-order mark. The GIFT and Aiken files written here begin with
// it, so that reading them back needs no guess of their encoding, which a
// text of box drawing or far-off scripts could mislead.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// A file's text without its byte-order mark, CR LF and a lone CR as LF.
std::string PlainLines(std::string_view text);
// Tells `progress` of the reading at `done` of `total` each time another
// stretch of the text has been read; throws ImportCancelled when it says stop.
class ProgressTicker {
public:
    ProgressTicker(const ImportProgress& progress, std::size_t total);
    void At(std::size_t done)
    {
        if (done >= next_)
            Tell(done);
    }

private:
    void Tell(std::size_t done);
    const ImportProgress& progress_;
    std::size_t total_;
    std::size_t next_ = 0;
};
// Blanks (space, tab, CR, LF) trimmed at both ends.
std::string Trimmed(std::string_view text);
// An entity's character (&amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xN;),
// appended to `out`; false for an unknown one.
bool AppendEntity(std::string_view entity, std::string& out);
// The answers a format that trims its texts still has (a question's answer
// of tabs alone comes back empty): how many, and the first with the highest
// score among them (-1 when none).
struct AnswersWithText {
    int Count = 0;
    int Best = -1;
};
AnswersWithText CountAnswersWithText(const Question& question);
bool HasAnswerText(const Question& question, int slot);
// A fraction as written ("83.33333", "-50"), whatever the locale; 0 for
// anything else.
double ReadFraction(std::string_view text);

} // namespace mirvane
