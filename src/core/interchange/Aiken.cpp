// Aiken: a question on one line, its answers "A. ..." one to a line, then
// "ANSWER: B"; blank lines between questions.
#include "interchange/ImportedTestBuilder.h"
#include "interchange/Interchange.h"

#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"

#include <algorithm>

namespace mirvane {

namespace {

constexpr int kLetters = 26;

// One line: Aiken has no line breaks within a question or an answer.
std::string OneLine(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return TrimSpaces(out);
}


} // namespace

QuizExport ExportAiken(const Test& test, const DocumentOrder& order)
{
    QuizExport result;
    result.Text = kUtf8Mark;
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            // Aiken trims every answer: one of tabs alone would come back empty.
            const auto [present, best] = CountAnswersWithText(question);
            int bestOnes = 0;
            for (int a = 0; a < Question::kAnswerSlots; ++a)
                bestOnes += HasAnswerText(question, a) && question.AScoreGet(a) == question.AScoreGet(best) ? 1 : 0;
            // The question's line must read as one: not blank, not "ANSWER:".
            const std::string text = OneLine(question.Q());
            if (present == 0 || present > kLetters || bestOnes != 1 || text.empty() || text.rfind("ANSWER:", 0) == 0) {
                ++result.Skipped;
                continue;
            }
            // A text that begins like an option ("A. ...") is written with a
            // no-break space after the mark, which no reader takes for one.
            const bool likeOption = text.size() >= 3 && text[0] >= 'A' && text[0] <= 'Z' &&
                                    (text[1] == '.' || text[1] == ')') && (text[2] == ' ' || text[2] == '\t');
            result.Text += likeOption ? text.substr(0, 2) + "\u00A0" + text.substr(3) + "\n" : text + "\n";
            char letter = 'A';
            char right = 'A';
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (!HasAnswerText(question, a))
                    continue;
                if (a == best)
                    right = letter;
                result.Text += std::string(1, letter) + ". " + OneLine(question.AGet(a)) + "\n";
                ++letter;
            }
            result.Text += std::string("ANSWER: ") + right + "\n\n";
        }
    }
    return result;
}

ImportedTest ImportAiken(std::string_view bytes, const std::string& fileStem, std::optional<TextEncoding> encoding,
                         const ImportProgress& progress)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    const std::string lines = PlainLines(QuizText(bytes, encoding));
    const std::string_view text = lines;
    std::string question;
    std::size_t questionLine = 0;
    std::vector<std::pair<char, std::string>> answers;
    bool blankBefore = false; // a blank line since the last line read
    bool skipping = false;    // the rest of a broken question
    auto reset = [&] {
        question.clear();
        answers.clear();
    };
    // A broken question is told and left out; reading goes on after it.
    auto broken = [&](std::size_t line, const std::string& reason, bool skipRest) {
        builder.Drop(question.empty() ? std::string() : QuestionCaption(question), line, reason);
        reset();
        skipping = skipRest;
    };
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    ProgressTicker ticker(progress, text.size());
    while (pos <= text.size()) {
        ticker.At(pos);
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string line = Trimmed(text.substr(pos, end - pos));
        ++lineNumber;
        pos = end + 1;
        if (line.empty()) {
            blankBefore = true;
            continue;
        }
        const bool isAnswerLine = line.rfind("ANSWER:", 0) == 0;
        if (skipping) {
            if (isAnswerLine || !blankBefore) {
                skipping = !isAnswerLine;
                continue;
            }
            skipping = false; // a blank line, then the next question
        }
        // "B. text" or "B) text": a capital, the mark and a blank.
        const bool optionLike = line.size() >= 3 && line[0] >= 'A' && line[0] <= 'Z' &&
                                (line[1] == '.' || line[1] == ')') && (line[2] == ' ' || line[2] == '\t');
        // After a blank line, a line that is no option starts the next question.
        if (blankBefore && !answers.empty() && !optionLike)
            broken(questionLine, "у вопроса нет строки «ANSWER:»", false);
        blankBefore = false;
        if (isAnswerLine) {
            const std::string letter = Trimmed(line.substr(7));
            if (question.empty() || answers.empty()) {
                broken(lineNumber, "«ANSWER:» без вопроса и ответов", false);
                continue;
            }
            const auto right = std::find_if(answers.begin(), answers.end(), [&](const auto& a) {
                return letter.size() == 1 && a.first == letter[0];
            });
            if (right == answers.end()) {
                broken(lineNumber, "в «ANSWER:» буква, которой нет среди ответов", false);
                continue;
            }
            std::vector<ImportedTestBuilder::Answer> read;
            for (const auto& [l, answer] : answers)
                read.push_back({answer, l == letter[0] ? 100.0 : 0.0});
            builder.AddQuestion(QuestionCaption(question), question, read, questionLine);
            reset();
            continue;
        }
        const bool isAnswer = optionLike && !question.empty();
        if (isAnswer) {
            if (static_cast<char>('A' + answers.size()) != line[0]) {
                broken(lineNumber, "ответы должны идти по буквам A, B, C...", true);
                continue;
            }
            answers.emplace_back(line[0], Trimmed(line.substr(2)));
        } else if (answers.empty()) {
            if (question.empty()) {
                questionLine = lineNumber;
                question = line;
                // Written so by the export, that the text reads as no option.
                if (line.size() >= 4 && line.compare(2, 2, "\u00A0") == 0 && line[0] >= 'A' && line[0] <= 'Z' &&
                    (line[1] == '.' || line[1] == ')'))
                    question = line.substr(0, 2) + " " + line.substr(4);
            } else {
                question += "\n" + line;
            }
        } else {
            broken(lineNumber, "ожидался следующий ответ или «ANSWER:»", true);
        }
    }
    if (!question.empty())
        broken(questionLine, "у вопроса нет строки «ANSWER:»", false);
    builder.Finish();
    return result;
}

} // namespace mirvane
