#pragma once
// Builds the test an importer reads: divisions by name in the order first
// met, questions with at most nine answers, texts as the test file can keep
// them (CR LF breaks, typographic characters made plain).
#include "interchange/Interchange.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mirvane {

class Division;

class ImportedTestBuilder {
public:
    ImportedTestBuilder(const std::string& fileStem, ImportedTest& result);

    // A category path as the formats write it; its context prefix
    // ("$course$/") is not part of the division's name.
    void SetCategory(const std::string& path);

    struct Answer {
        std::string Text;
        double Fraction = 0;
    };
    // `line`: where the question begins, for the note on dropped answers.
    void AddQuestion(const std::string& name, const std::string& text, const std::vector<Answer>& answers,
                     std::size_t line);
    void Skip(const std::string& type, const std::string& name, std::size_t line);

    // Sets every division's question count to its number of questions, at
    // most 25.
    void Finish();

private:
    Division& DivisionNamed(const std::string& name);

    std::string fileStem_;
    ImportedTest& result_;
    std::string category_;
    std::map<std::string, Division*> divisions_;
};

// Text as the model keeps it: any line break as CR LF, typographic
// characters as plain ones, blanks trimmed at both ends.
std::string ModelText(std::string_view text);
// A file's text without its byte-order mark, CR LF and a lone CR as LF.
std::string PlainLines(std::string_view text);
// Blanks (space, tab, CR, LF) trimmed at both ends.
std::string Trimmed(std::string_view text);
// HTML as plain text: <br> and paragraph ends as line breaks, other tags
// dropped, entities decoded.
std::string PlainFromHtml(std::string_view html);
// An entity's character (&amp; &lt; &gt; &quot; &apos; &nbsp; &#N; &#xN;),
// appended to `out`; false for an unknown one.
bool AppendEntity(std::string_view entity, std::string& out);
// A fraction as written ("83.33333", "-50"), whatever the locale; 0 for
// anything else.
double ReadFraction(std::string_view text);

} // namespace mirvane
