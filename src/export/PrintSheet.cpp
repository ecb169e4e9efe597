#include "export/PrintSheet.h"

#include "interchange/XmlTree.h"
#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"

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

constexpr const char* kLetters[] = {"а", "б", "в", "г", "д", "е", "ж", "з", "и", "к"};

} // namespace

std::string PrintSheetHtml(const Test& test, const DocumentOrder& order, TextContent content)
{
    std::string out = "<html><head><meta charset=\"utf-8\"><style>"
                      "body { font-family: 'DejaVu Serif', serif; font-size: 11pt; }"
                      "h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 14pt; }"
                      "p.q { margin-top: 8pt; margin-bottom: 2pt; } p.a { margin: 0 0 0 18pt; }"
                      "</style></head><body>";
    out += "<h1>" + Html(TrimBlanksView(test.TestName)) + "</h1>";
    out += "<p>Время тестирования: " + std::to_string(test.TestTime) + " мин.</p>";
    int number = 0;
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        out += "<h2>" + Html(TrimBlanksView(division.Name)) + "</h2>";
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, j);
            out += "<p class=\"q\"><b>" + std::to_string(++number) + ".</b> " +
                   Html(TrimBlanksView(question.Q())) + "</p>";
            const int best = question.GetBestAnswer();
            if (content == TextContent::QuestionsOnly)
                continue;
            if (content == TextContent::RightAnswers) {
                out += "<p class=\"a\">Ответ: " + Html(TrimBlanksView(question.AGet(best))) + "</p>";
                continue;
            }
            int letter = 0;
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                const std::string_view answer = TrimBlanksView(question.AGet(a));
                if (answer.empty())
                    continue;
                const bool marked = content == TextContent::AllAnswersMarked && a == best;
                out += std::string("<p class=\"a\">") + (marked ? "<b>" : "") + kLetters[letter++] + ") " +
                       Html(answer) + (marked ? " (верный ответ)</b>" : "") + "</p>";
            }
        }
    }
    out += "</body></html>";
    return out;
}

} // namespace mirvane
