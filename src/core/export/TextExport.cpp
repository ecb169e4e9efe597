#include "export/TextExport.h"

#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Test.h"
#include "model/TextLines.h"

namespace mirvane {

void Out(std::string& out, const Question& question, TextContent content, const CodePage& page)
{
    const std::string_view text = TrimBlanksView(question.Q());
    if (content == TextContent::QuestionsOnly) {
        (EncodedLine(out, page) << kCrLf << text).End();
        return;
    }
    (EncodedLine(out, page) << kCrLf << "Вопрос:").End();
    (EncodedLine(out, page) << text).End();

    const int best = question.GetBestAnswer();
    if (content == TextContent::RightAnswers) {
        // "Ответ: " and the answer, the whole line trimmed again: an empty
        // right slot leaves "Ответ:".
        const std::string_view answer = TrimBlanksView(question.AGet(best));
        (EncodedLine(out, page) << (answer.empty() ? "Ответ:" : "Ответ: ") << answer).End();
        return;
    }
    for (int n = 0; n < Question::kAnswerSlots; ++n) {
        const std::string_view answer = TrimBlanksView(question.AGet(n));
        if (answer.empty())
            continue;
        const bool marked = content == TextContent::AllAnswersMarked && n == best;
        (EncodedLine(out, page) << (marked ? "Ответ*" : "Ответ ") << n + 1 << ": " << answer).End();
    }
}

std::string WriteTextExport(const Test& test, const DocumentOrder& order, TextContent content, const CodePage& page)
{
    return CollectChunks([&](const ChunkSink& sink) { WriteTextExport(test, order, content, page, sink); });
}

void WriteTextExport(const Test& test, const DocumentOrder& order, TextContent content, const CodePage& page,
                     const ChunkSink& sink)
{
    ChunkedOutput output(sink);
    std::string& out = output.Buffer();
    (EncodedLine(out, page) << kCrLf << TrimBlanksView(test.TestName)).End();
    (EncodedLine(out, page) << kCrLf << "Время тестирования (минут) - " << test.TestTime).End();
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        (EncodedLine(out, page) << kCrLf << "=== " << TrimBlanksView(division.Name) << " ===").End();
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            PrefetchAhead(division, j);
            Out(out, QuestionInOrder(division, entry.QuestionKeys, j), content, page);
            output.Pass();
        }
    }
    output.Flush();
}

} // namespace mirvane
