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
    return hit->Place.Key + ":" + std::to_string(hit->Place.Field) + "@" + std::to_string(hit->Place.Offset);
}

TEST(TextSearch, FindsInEveryKindOfTextInDocumentOrderAndWraps)
{
    const TestDocument doc = Sample();
    const TextQuery query{"ика", false};
    auto hit = FindText(doc, query, {"par", 0, 0}, true);
    EXPECT_EQ(Where(hit), "par:0@6"); // "Физика": bytes, two per Cyrillic letter
    hit = FindText(doc, query, hit->Place, true, true);
    EXPECT_EQ(Where(hit), "d1:0@10");
    hit = FindText(doc, query, hit->Place, true, true);
    EXPECT_EQ(Where(hit), "d4:0@6");
    hit = FindText(doc, query, hit->Place, true, true);
    EXPECT_EQ(Where(hit), "par:0@6") << "wraps around";
    hit = FindText(doc, query, hit->Place, false);
    EXPECT_EQ(Where(hit), "d4:0@6") << "backward wraps too";

    EXPECT_EQ(Where(FindText(doc, {"лич", false}, {"par", 0, 0}, true)), "mrk:1@4");
    EXPECT_EQ(Where(FindText(doc, {"а\r\nт", false}, {"par", 0, 0}, true)), "q3:0@8") << "across a line break";
    EXPECT_EQ(Where(FindText(doc, {"сила", true}, {"q2", 0, 0}, true, true)), "q2:1@0") << "an answer";
    EXPECT_EQ(Where(FindText(doc, {"Линза", false}, {"q3", 0, 0}, true)), "q5:0@0");
    EXPECT_EQ(Where(FindText(doc, {"Оптика", false}, {"gone", 0, 0}, false)), "d4:0@0");
}

TEST(TextSearch, CaseAndNothingFound)
{
    const TestDocument doc = Sample();
    EXPECT_EQ(Where(FindText(doc, {"СИЛА", false}, {"d1", 0, 0}, true)), "q2:0@0");
    EXPECT_EQ(Where(FindText(doc, {"СИЛА", true}, {"d1", 0, 0}, true)), "-");
    // A match at the place itself is found only once around.
    EXPECT_EQ(Where(FindText(doc, {"Сила", true}, {"q3", 1, 0}, true, true)), "q2:0@0");
    EXPECT_EQ(Where(FindText(doc, {"Сила", true}, {"q2", 0, 0}, false)), "q3:1@0");
    EXPECT_EQ(Where(FindText(doc, {"нет такого", false}, {"par", 0, 0}, true)), "-");
    EXPECT_EQ(Where(FindText(doc, {"", false}, {"par", 0, 0}, true)), "-");
    EXPECT_EQ(FoldCase("ЁЖЯ Ab ÀÞ ё"), "ёжя ab àþ ё");
}

} // namespace
} // namespace mirvane::testing
