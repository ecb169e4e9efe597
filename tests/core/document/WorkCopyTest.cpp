// The findings list's copy of the document, brought up to date step by step
// from what the document announces.
#include "TestSupport.h"

#include "document/TestDocument.h"
#include "document/WorkCopy.h"
#include "model/Test.h"
#include "testfile/TestFileWriter.h"

#include <gtest/gtest.h>

#include <functional>

namespace mirvane::testing {
namespace {

// d1: q2 q3 q4; d5: q6; d7 (empty)
TestDocument Sample()
{
    auto loaded = Load({"T", ")t 30", ")<", "Неуд", ")* 1", "):Первый", ")?", "один", ")! 1", "да", ")?", "два",
                        ")?", "три", ")* 1", "):Второй", ")?", "четыре", ")* 1", "):Третий"});
    return TestDocument(std::move(loaded.test));
}

// The test's file and every key, in the order of its collections.
std::string Contents(const mirvane::Test& test)
{
    std::string keys;
    for (const Division& d : test.Divisions) {
        keys += d.Key + ":";
        for (const Question& q : d.Questions)
            keys += " " + q.Key;
        keys += "\n";
    }
    return keys + WriteTestFile(test, DocumentOrder::FromCollections(test));
}

std::string Used(WorkCopyStep step)
{
    std::string seen;
    step.Use([&seen](const mirvane::Test& copy) { seen = Contents(copy); });
    return seen;
}

const std::function<void(mirvane::Test&)> kNothingTyped = [](mirvane::Test&) {};

TEST(WorkCopy, EachStepBringsTheCopyToTheDocumentAsItIsNow)
{
    TestDocument doc = Sample();
    WorkCopyKeeper keeper(doc);
    const auto expected = [&doc] { return Contents(*CopyInDocumentOrder(doc.Model(), doc.Order())); };
    EXPECT_EQ(Used(keeper.TakeStep("par", kNothingTyped)), expected());

    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"a question's text", [&] { doc.SetQuestionText("q3", "два с половиной"); }},
        {"an answer and a score", [&] { doc.SetAnswer("q6", 2, "нет"); doc.SetScore("q6", 2, 5); }},
        {"the test's fields", [&] { doc.SetTestName("Другой"); doc.SetMark(1, "Зачёт", 3); }},
        {"a division's head", [&] { doc.SetDivisionName("d5", "Второй раздел"); doc.SetDivisionCount("d1", 2); }},
        {"a question added and typed into", [&] { doc.SetQuestionText(doc.AddQuestion("q2").Key, "новый"); }},
        {"questions moved", [&] { doc.MoveDown("q2"); doc.MoveTo("q4", "d7", 0); }},
        {"a moved question edited", [&] { doc.SetAnswer("q4", 0, "перенесён"); }},
        {"a division moved", [&] { doc.MoveUp("d5"); }},
        {"a question deleted", [&] { doc.Delete("q3"); }},
        {"a division taken out and put back",
         [&] {
             DetachedItem item = doc.Detach("d1");
             doc.Attach(std::move(item));
         }},
        {"a division pasted with its questions",
         [&] {
             NewDivision pasted;
             pasted.Questions.resize(2);
             pasted.Questions[0].QSet("вставленный");
             doc.AddDivision("d7", std::move(pasted));
         }},
        {"a division deleted with its questions", [&] { doc.Delete("d5"); }},
    };
    for (const auto& [what, edit] : edits) {
        edit();
        EXPECT_EQ(Used(keeper.TakeStep("par", kNothingTyped)), expected()) << what;
    }
}

TEST(WorkCopy, TypedValuesCountUntilTheNodeIsLeftWithoutStoringThem)
{
    TestDocument doc = Sample();
    WorkCopyKeeper keeper(doc);
    const auto typed = [](mirvane::Test& copy) { copy.Divisions.Item("d1").Questions.Item("q3").QSet("typed"); };
    EXPECT_NE(Used(keeper.TakeStep("q3", typed)).find("typed"), std::string::npos);
    EXPECT_NE(Used(keeper.TakeStep("q3", typed)).find("typed"), std::string::npos);
    // Another node shown: what was typed was dropped, the document's text is back.
    const std::string left = Used(keeper.TakeStep("q2", kNothingTyped));
    EXPECT_EQ(left.find("typed"), std::string::npos);
    EXPECT_EQ(left, Contents(*CopyInDocumentOrder(doc.Model(), doc.Order())));
}

TEST(WorkCopy, AStepNeverUsedLeavesNothingOutOfTheNext)
{
    TestDocument doc = Sample();
    WorkCopyKeeper keeper(doc);
    Used(keeper.TakeStep("par", kNothingTyped));
    doc.SetQuestionText("q2", "первое изменение");
    WorkCopyStep dropped = keeper.TakeStep("par", kNothingTyped);
    doc.SetQuestionText("q6", "второе изменение");
    EXPECT_EQ(Used(keeper.TakeStep("par", kNothingTyped)), Contents(*CopyInDocumentOrder(doc.Model(), doc.Order())));
}

} // namespace
} // namespace mirvane::testing
