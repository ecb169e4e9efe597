// Finding text in a test, without a window.
#include "TestSupport.h"

#include "document/TestDocument.h"
#include "document/TextSearch.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

// par: "Физика"; marks 0 "Неуд", 1 "Отлично"; d1 "Механика": q2, q3; d4 "Оптика": q5
TestDocument Sample()
{
    auto loaded = Load({"Физика", ")t 30", ")<", "Неуд", ")> 10", "Отлично", ")* 1", "):Механика", ")?",
                        "Сила тока", ")! 1", "сила", ")?", "Масса", "тела", ")!", "Сила", ")* 1", "):Оптика", ")?",
                        "Линза"});
    return TestDocument(std::move(loaded.test));
}

std::string Where(const std::optional<TextHit>& hit)
{
    if (!hit)
        return "-";
    const TextPlace& at = hit->Place;
    std::string field;
    if (at.Field == DocumentField::Answer)
        field = ":answer " + std::to_string(at.Slot);
    else if (at.Field == DocumentField::Mark)
        field = ":mark " + std::to_string(at.Slot);
    return at.Key + field + "@" + std::to_string(at.Offset);
}

TEST(TextSearch, FindsInEveryKindOfTextInDocumentOrderAndWraps)
{
    const TestDocument doc = Sample();
    const TextQuery query{"ика", false};
    auto hit = FindText(doc, query, {"par"}, true);
    EXPECT_EQ(Where(hit), "par@6"); // "Физика": bytes, two per Cyrillic letter
    hit = FindText(doc, query, hit->Place, true, true);
    EXPECT_EQ(Where(hit), "d1@10");
    hit = FindText(doc, query, hit->Place, true, true);
    EXPECT_EQ(Where(hit), "d4@6");
    hit = FindText(doc, query, hit->Place, true, true);
    EXPECT_EQ(Where(hit), "par@6") << "wraps around";
    hit = FindText(doc, query, hit->Place, false);
    EXPECT_EQ(Where(hit), "d4@6") << "backward wraps too";

    EXPECT_EQ(Where(FindText(doc, {"лич", false}, {"par"}, true)), "mrk:mark 1@4");
    EXPECT_EQ(Where(FindText(doc, {"а\r\nт", false}, {"par"}, true)), "q3@8") << "across a line break";
    EXPECT_EQ(Where(FindText(doc, {"сила", true}, {"q2"}, true, true)), "q2:answer 0@0") << "an answer";
    EXPECT_EQ(Where(FindText(doc, {"Линза", false}, {"q3"}, true)), "q5@0");
    EXPECT_EQ(Where(FindText(doc, {"Оптика", false}, {"gone"}, false)), "d4@0");
}

TEST(TextSearch, CaseAndNothingFound)
{
    const TestDocument doc = Sample();
    EXPECT_EQ(Where(FindText(doc, {"СИЛА", false}, {"d1"}, true)), "q2@0");
    EXPECT_EQ(Where(FindText(doc, {"СИЛА", true}, {"d1"}, true)), "-");
    // A match at the place itself is found only once around.
    EXPECT_EQ(Where(FindText(doc, {"Сила", true}, {"q3", DocumentField::Answer, 0}, true, true)), "q2@0");
    EXPECT_EQ(Where(FindText(doc, {"Сила", true}, {"q2"}, false)), "q3:answer 0@0");
    EXPECT_EQ(Where(FindText(doc, {"нет такого", false}, {"par"}, true)), "-");
    EXPECT_EQ(Where(FindText(doc, {"", false}, {"par"}, true)), "-");
    EXPECT_EQ(FoldCase("ЁЖЯ Ab ÀÞ ё"), "ёжя ab àþ ё");
}

} // namespace
} // namespace mirvane::testing
