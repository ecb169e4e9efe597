#include "check/SpellingWalk.h"

#include "check/SpellingWords.h"
#include "model/DocumentOrder.h"
#include "model/NodeKey.h"
#include "model/Test.h"

#include <algorithm>

namespace mirvane {

std::vector<SpellingText> SpellingTexts(const Test& test, const DocumentOrder& order)
{
    std::vector<SpellingText> texts;
    texts.push_back({kParametersKey, SpellingField::Title, 0, 0, 0, test.TestName});
    for (int mark = 0; mark < Test::kMarkSlots; ++mark)
        texts.push_back({kMarksKey, SpellingField::Mark, mark, 0, 0, test.MarkDiscriptionsGet(mark)});
    std::size_t questionNumber = 0;
    for (std::size_t d = 0; d < order.Divisions.size(); ++d) {
        const auto& entry = order.Divisions[d];
        const Division& division = test.Divisions.Item(entry.Key);
        texts.push_back({division.Key, SpellingField::DivisionName, 0, d, questionNumber, division.Name});
        for (std::size_t q = 0; q < entry.QuestionKeys.size(); ++q, ++questionNumber) {
            const Question& question = QuestionInOrder(division, entry.QuestionKeys, q);
            texts.push_back({question.Key, SpellingField::QuestionText, 0, d, questionNumber, question.Q()});
            for (int slot = 0; slot < Question::kAnswerSlots; ++slot) {
                if (question.IsAnswerPresent(slot))
                    texts.push_back({question.Key, SpellingField::Answer, slot, d, questionNumber, question.AGet(slot)});
            }
        }
    }
    return texts;
}

std::optional<Misspelling> NextMisspelling(const std::vector<SpellingText>& texts, SpellChecker& checker,
                                           SpellingPlace from, std::size_t end)
{
    end = std::min(end, texts.size());
    for (std::size_t t = from.Text; t < end; ++t) {
        const std::string_view text = texts[t].Text;
        for (const WordSpan& span : CheckedWords(text)) {
            if (t == from.Text && span.Start < from.Offset)
                continue;
            const std::string_view word = text.substr(span.Start, span.Length);
            if (!checker.IsKnown(word))
                return Misspelling{{t, span.Start}, span.Length, std::string(word)};
        }
    }
    return std::nullopt;
}

std::size_t FirstTextOf(const std::vector<SpellingText>& texts, std::string_view key)
{
    for (std::size_t t = 0; t < texts.size(); ++t) {
        if (texts[t].NodeKey == key)
            return t;
    }
    return 0;
}

} // namespace mirvane
