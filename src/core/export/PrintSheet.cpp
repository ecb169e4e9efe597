#include "export/PrintSheet.h"

#include "interchange/XmlTree.h"
#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"

#include <vector>

namespace mirvane {

namespace {

// Escaped, each line break a <br>.
std::string Html(std::string_view text)
{
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (start > 0)
            out += "<br>";
        out += XmlEscaped(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

// Room to write between questions; answers indented under their question.
// The layout engine indents by whole steps, not by a left margin.
constexpr const char* kQuestionStyle = "<p style=\"margin-top: 22px; margin-bottom: 4px;\">";
constexpr const char* kAnswerStyle = "<p style=\"margin-top: 3px; margin-bottom: 0px; -qt-block-indent: 1;\">";

constexpr const char* kLetters[] = {"а", "б", "в", "г", "д", "е", "ж", "з", "и", "к"};

// The letter of the right answer among the answers the sheet shows, or a
// dash when its slot is empty.
std::string RightLetter(const Question& question)
{
    const int best = question.GetBestAnswer();
    if (TrimBlanksView(question.AGet(best)).empty())
        return "—";
    int letter = 0;
    for (int a = 0; a < best; ++a)
        letter += TrimBlanksView(question.AGet(a)).empty() ? 0 : 1;
    return kLetters[letter];
}

// The answer key on a page of its own, so the handout can go without it:
// question number and right letter, five to a row.
std::string AnswerKey(const std::vector<std::string>& letters)
{
    constexpr std::size_t kColumns = 5;
    std::string out = "<h2 style=\"page-break-before: always\">Ответы</h2><table cellpadding=\"4\">";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i % kColumns == 0)
            out += i == 0 ? "<tr>" : "</tr><tr>";
        out += "<td width=\"80\">" + std::to_string(i + 1) + " — " + letters[i] + "</td>";
    }
    if (!letters.empty())
        out += "</tr>";
    return out + "</table>";
}

} // namespace

std::string PrintSheetHtml(const Test& test, const DocumentOrder& order, TextContent content)
{
    const std::string title = Html(TrimBlanksView(test.TestName));
    std::string out = "<html><head><meta charset=\"utf-8\"><title>" + title +
                      "</title><style>"
                      "body { font-family: 'DejaVu Serif', serif; font-size: 11pt; }"
                      "h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 14pt; }"
                      "</style></head><body>";
    out += "<h1>" + title + "</h1>";
    out += "<p>Время тестирования: " + std::to_string(test.TestTime) + " мин.</p>";
    // Where the student writes who and when.
    out += "<p>Фамилия, имя: ______________________________ Класс: ________ Дата: ____________</p>";
    const bool withKey = content == TextContent::RightAnswers || content == TextContent::AllAnswersMarked;
    std::vector<std::string> key;
    int number = 0;
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        out += "<h2>" + Html(TrimBlanksView(division.Name)) + "</h2>";
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            out += std::string(kQuestionStyle) + "<b>" + std::to_string(++number) + ".</b> " +
                   Html(TrimBlanksView(question.Q())) + "</p>";
            const int best = question.GetBestAnswer();
            if (withKey)
                key.push_back(RightLetter(question));
            if (content == TextContent::QuestionsOnly)
                continue;
            if (content == TextContent::RightAnswers) {
                out += std::string(kAnswerStyle) + "Ответ: " + Html(TrimBlanksView(question.AGet(best))) + "</p>";
                continue;
            }
            int letter = 0;
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                const std::string_view answer = TrimBlanksView(question.AGet(a));
                if (answer.empty())
                    continue;
                const bool marked = content == TextContent::AllAnswersMarked && a == best;
                out += std::string(kAnswerStyle) + (marked ? "<b>" : "") + kLetters[letter++] + ") " +
                       Html(answer) + (marked ? " (верный ответ)</b>" : "") + "</p>";
            }
        }
    }
    if (withKey)
        out += AnswerKey(key);
    out += "</body></html>";
    return out;
}

} // namespace mirvane
