#include "check/SpellChecker.h"
#include "check/SpellingWalk.h"
#include "check/SpellingWords.h"
#include "model/DocumentOrder.h"

#include "TestBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace mirvane {
namespace {

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    for (const WordSpan& span : CheckedWords(text))
        words.emplace_back(text.substr(span.Start, span.Length));
    return words;
}

class SpellCheckerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!checker_.Available())
            GTEST_SKIP() << "the Russian dictionary (hunspell-ru) is not installed";
    }
    SpellChecker checker_;
};

TEST(SpellingWordsTest, NumbersFormulasAddressesAndSingleLettersAreNotWords)
{
    EXPECT_EQ(Words("Найдите x, если 2x+3=7 и a1 = 12,5 (см. mail@school.ru, https://школа.рф/задача, LOG.TXT)"),
              (std::vector<std::string>{"Найдите", "если", "см"}));
    EXPECT_EQ(Words("что-то из-за «ёлки» — don't, 3D"),
              (std::vector<std::string>{"что-то", "из-за", "ёлки", "don't"}));
}

TEST_F(SpellCheckerTest, KnowsInflectionsYoAndHyphenatedWords)
{
    for (const char* known : {"значение", "значения", "значением", "Значением", "ещё", "еще", "ёлка", "елка",
                              "что-то", "из-за", "русско-английский", "school", "knowledge"})
        EXPECT_TRUE(checker_.IsKnown(known)) << known;
    for (const char* unknown : {"значенее", "шкала-значенее", "knowlege"})
        EXPECT_FALSE(checker_.IsKnown(unknown)) << unknown;
    const auto suggestions = checker_.Suggest("значенее");
    EXPECT_LE(suggestions.size(), 5u);
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "значение"), suggestions.end());
}

TEST_F(SpellCheckerTest, AsksEachWordOnce)
{
    for (int i = 0; i < 3; ++i) {
        checker_.IsKnown("значенее");
        checker_.IsKnown("значение");
    }
    EXPECT_EQ(checker_.LookUps(), 2u);
}

TEST_F(SpellCheckerTest, OwnWordsAreKeptInTheUserListAndReadBack)
{
    const auto path = std::filesystem::path(::testing::TempDir()) / "spell-own" / "words.txt";
    std::filesystem::remove_all(path.parent_path());
    ASSERT_FALSE(checker_.IsKnown("мирванишка"));
    EXPECT_EQ(checker_.AddToDictionary("мирванишка", path.string()), std::nullopt);
    EXPECT_TRUE(checker_.IsKnown("мирванишка"));

    SpellChecker later;
    EXPECT_FALSE(later.IsKnown("мирванишка"));
    EXPECT_EQ(later.AddWordList(path.string()), std::nullopt);
    EXPECT_TRUE(later.IsKnown("мирванишка"));
    EXPECT_NE(later.AddWordList((path.parent_path() / "none.txt").string()), std::nullopt);

    later.SkipAll("значенее");
    EXPECT_TRUE(later.IsKnown("значенее"));
}

TEST(SpellCheckerMissingTest, WithoutTheDictionaryEverythingIsKnown)
{
    SpellChecker checker(::testing::TempDir());
    EXPECT_FALSE(checker.Available());
    EXPECT_TRUE(checker.IsKnown("значенее"));
    EXPECT_TRUE(checker.Suggest("значенее").empty());
}

TEST(SpellCheckerEncodingTest, ReadsADictionaryInKoi8R)
{
    const auto folder = std::filesystem::path(::testing::TempDir()) / "spell-koi8";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "ru_RU.aff", std::ios::binary) << "SET KOI8-R\nTRY \xCF\xD4\xCB\n";
    std::ofstream(folder / "ru_RU.dic", std::ios::binary) << "1\n\xCB\xCF\xD4\n"; // "кот"
    SpellChecker checker(folder.string());
    ASSERT_TRUE(checker.Available());
    EXPECT_TRUE(checker.IsKnown("кот"));
    EXPECT_FALSE(checker.IsKnown("кит"));
    EXPECT_EQ(checker.Suggest("кто"), std::vector<std::string>{"кот"});
}

TEST_F(SpellCheckerTest, WalksTheTestInDocumentOrder)
{
    using testing::AddDivisionTo;
    using testing::AddQuestionTo;
    mirvane::Test test;
    test.TestName = "Провекра знаний";
    test.MarkDiscriptionsSet(1, "Отлчино");
    test.LogFile = "ЖРНЛ.TXT";
    Division& division = AddDivisionTo(test, "Грамматикка");
    AddQuestionTo(division, "Какое значение\r\nверно? Ошибкка", {{"Правильно", 1}, {"Нeправильно", 0}});
    const auto texts = SpellingTexts(test, DocumentOrder::FromCollections(test));
    std::vector<std::string> found;
    for (auto next = NextMisspelling(texts, checker_, {}, texts.size()); next;
         next = NextMisspelling(texts, checker_, {next->Place.Text, next->Place.Offset + next->Length}, texts.size()))
        found.push_back(next->Word);
    // "Нeправильно" has a Latin "e" in it.
    EXPECT_EQ(found, (std::vector<std::string>{"Провекра", "Отлчино", "Грамматикка", "Ошибкка", "Нeправильно"}));
    EXPECT_EQ(texts[FirstTextOf(texts, division.Key)].Text, "Грамматикка");
}

} // namespace
} // namespace mirvane
