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
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            const int best = question.GetBestAnswer();
            int present = 0;
            int bestOnes = 0;
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (!question.IsAnswerPresent(a))
                    continue;
                ++present;
                bestOnes += question.AScoreGet(a) == question.AScoreGet(best) ? 1 : 0;
            }
            // The question's line must read as one: not blank, not "ANSWER:".
            const std::string text = OneLine(question.Q());
            if (present == 0 || present > kLetters || bestOnes != 1 || !question.IsAnswerPresent(best) ||
                text.empty() || text.rfind("ANSWER:", 0) == 0) {
                ++result.Skipped;
                continue;
            }
            result.Text += text + "\n";
            char letter = 'A';
            char right = 'A';
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (!question.IsAnswerPresent(a))
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

ImportedTest ImportAiken(std::string_view text, const std::string& fileStem)
{
    ImportedTest result;
    ImportedTestBuilder builder(fileStem, result);
    const std::string lines = PlainLines(text);
    text = lines;
    std::string question;
    std::size_t questionLine = 0;
    std::vector<std::pair<char, std::string>> answers;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string line = Trimmed(text.substr(pos, end - pos));
        ++lineNumber;
        pos = end + 1;
        if (line.empty())
            continue;
        if (line.rfind("ANSWER:", 0) == 0) {
            const std::string letter = Trimmed(line.substr(7));
            if (question.empty() || answers.empty())
                throw ImportError(lineNumber, "«ANSWER:» без вопроса и ответов");
            const auto right = std::find_if(answers.begin(), answers.end(), [&](const auto& a) {
                return letter.size() == 1 && a.first == letter[0];
            });
            if (right == answers.end())
                throw ImportError(lineNumber, "в «ANSWER:» буква, которой нет среди ответов");
            std::vector<ImportedTestBuilder::Answer> read;
            for (const auto& [l, answer] : answers)
                read.push_back({answer, l == letter[0] ? 100.0 : 0.0});
            builder.AddQuestion(QuestionCaption(question), question, read, questionLine);
            question.clear();
            answers.clear();
            continue;
        }
        const bool isAnswer = line.size() >= 2 && line[0] >= 'A' && line[0] <= 'Z' &&
                              (line[1] == '.' || line[1] == ')') && !question.empty();
        if (isAnswer) {
            if (static_cast<char>('A' + answers.size()) != line[0])
                throw ImportError(lineNumber, "ответы должны идти по буквам A, B, C...");
            answers.emplace_back(line[0], Trimmed(line.substr(2)));
        } else if (answers.empty()) {
            if (question.empty())
                questionLine = lineNumber;
            else
                question += "\n";
            question += line;
        } else {
            throw ImportError(lineNumber, "ожидался следующий ответ или «ANSWER:»");
        }
    }
    if (!question.empty())
        throw ImportError(questionLine, "у вопроса нет строки «ANSWER:»");
    builder.Finish();
    return result;
}

} // namespace mirvane
