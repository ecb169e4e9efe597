#include "TestBuilder.h"
#include "TestSupport.h"

#include "export/TextExport.h"
#include "model/DocumentOrder.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

std::string Export(const mirvane::Test& test, TextContent content)
{
    return CodePage::Windows().Decode(
        WriteTextExport(test, DocumentOrder::FromCollections(test), content, CodePage::Windows()));
}

TEST(TextExport, TestWithoutDivisionsIsFourLines)
{
    mirvane::Test test;
    test.TestName = "  Физика \t";
    EXPECT_EQ(Export(test, TextContent::QuestionsOnly), "\r\nФизика\r\n\r\nВремя тестирования (минут) - 30\r\n");
}

class TextExportContents : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetKeyNumbers();
        test.TestName = "Т";
        Division& d = AddDivisionTo(test, " Алгебра ", 1);
        AddQuestionTo(d, "\r\n\r\n  Сколько будет\r\n2+2?  ", {{"три", 0}, {"", 0}, {" четыре ", 5}});
        AddQuestionTo(d, "Без ответов");
        AddQuestionTo(d, "Ничья", {{"a", 2}, {"b", 2}});
        AddDivisionTo(test, "Пустой", 1);
    }
    mirvane::Test test;
    const std::string head = "\r\nТ\r\n\r\nВремя тестирования (минут) - 30\r\n\r\n=== Алгебра ===\r\n";
    const std::string tail = "\r\n=== Пустой ===\r\n";
};

TEST_F(TextExportContents, QuestionsOnly)
{
    EXPECT_EQ(Export(test, TextContent::QuestionsOnly),
              head + "\r\nСколько будет\r\n2+2?\r\n\r\nБез ответов\r\n\r\nНичья\r\n" + tail);
}

TEST_F(TextExportContents, RightAnswers)
{
    EXPECT_EQ(Export(test, TextContent::RightAnswers), head +
                                                           "\r\nВопрос:\r\nСколько будет\r\n2+2?\r\nОтвет: четыре\r\n"
                                                           "\r\nВопрос:\r\nБез ответов\r\nОтвет:\r\n"
                                                           "\r\nВопрос:\r\nНичья\r\nОтвет: a\r\n" +
                                                           tail);
}

TEST_F(TextExportContents, AllAnswers)
{
    EXPECT_EQ(Export(test, TextContent::AllAnswers),
              head +
                  "\r\nВопрос:\r\nСколько будет\r\n2+2?\r\nОтвет 1: три\r\nОтвет 3: четыре\r\n"
                  "\r\nВопрос:\r\nБез ответов\r\n"
                  "\r\nВопрос:\r\nНичья\r\nОтвет 1: a\r\nОтвет 2: b\r\n" +
                  tail);
}

TEST_F(TextExportContents, AllAnswersWithTheRightOneMarked)
{
    EXPECT_EQ(Export(test, TextContent::AllAnswersMarked),
              head +
                  "\r\nВопрос:\r\nСколько будет\r\n2+2?\r\nОтвет 1: три\r\nОтвет*3: четыре\r\n"
                  "\r\nВопрос:\r\nБез ответов\r\n"
                  "\r\nВопрос:\r\nНичья\r\nОтвет*1: a\r\nОтвет 2: b\r\n" +
                  tail);
}

TEST_F(TextExportContents, CodePages)
{
    const DocumentOrder order = DocumentOrder::FromCollections(test);
    const std::string dos = WriteTextExport(test, order, TextContent::AllAnswersMarked, CodePage::Dos());
    const std::string windows = WriteTextExport(test, order, TextContent::AllAnswersMarked, CodePage::Windows());
    EXPECT_EQ(CodePage::Dos().Decode(dos), CodePage::Windows().Decode(windows));
    EXPECT_NE(dos, windows);
    EXPECT_NE(dos.find("\x80\xAB\xA3\xA5\xA1\xE0\xA0"), std::string::npos);     // Алгебра in 866
    EXPECT_NE(windows.find("\xC0\xEB\xE3\xE5\xE1\xF0\xE0"), std::string::npos); // Алгебра in 1251
}

TEST_F(TextExportContents, Utf8KeepsEveryCharacter)
{
    AddQuestionTo(test.Divisions.Item(1), "Знак ★ и €", {{"ответ ≈ 3", 1}});
    const DocumentOrder order = DocumentOrder::FromCollections(test);
    const std::string utf8 = WriteTextExport(test, order, TextContent::AllAnswersMarked, CodePage::Utf8());
    EXPECT_NE(utf8.find("=== Алгебра ===\r\n"), std::string::npos);
    EXPECT_NE(utf8.find("Знак ★ и €\r\nОтвет*1: ответ ≈ 3\r\n"), std::string::npos);
    EXPECT_EQ(CodePage::Utf8().Encode("a\xFF\xC3" "b"), "a??b") << "what is not UTF-8 becomes ?";
}

} // namespace
} // namespace mirvane::testing
