#include "TestBuilder.h"
#include "TestSupport.h"

#include "export/HtmlExport.h"
#include "model/DocumentOrder.h"

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

std::string Page(const mirvane::Test& test, std::string_view path = "C:\\Тесты\\physics.q")
{
    return CodePage::Windows().Decode(WriteHtmlPage(test, DocumentOrder::FromCollections(test), path));
}

const std::string kScriptAndFooterStart =
    "<script language=\"JavaScript\"> Time =1800;\r\n"
    "function NextSecond(){if(Time!=0){setTimeout('NextSecond()',1000); Time --; text = 'Время: '; "
    "if(Time<36000){ text+='0';} text+=Math.floor(Time/3600)+':'; if(Time%3600<600){ text+='0';} "
    "text+=Math.floor((Time%3600)/60)+':'; if(Time%60<10){ text+='0';} text+=Time%60; TimeStamp.innerText = "
    "text; } else { alert('Ваше время истекло'); SendResault();}}\r\n"
    "</script>\r\n";

const std::string kFooter = "<p>Нажмите кнопку для завершения экзамена\r\n"
                            "<INSERT item=\"submitbutton\">\r\n"
                            "<hr>Тест получен преобразованием файла данных программы Vexo V1.0\r\n"
                            "</body>\r\n"
                            "</html>\r\n";

TEST(HtmlExport, TestWithoutDivisionsIsTheWholePage)
{
    mirvane::Test test;
    test.MarkDiscriptionsSet(0, "");
    test.MarkDiscriptionsSet(1, "Хорошо");
    test.MarkScoresSet(1, 7);
    test.MarkDiscriptionsSet(2, "   ");
    test.MarkScoresSet(2, 9);
    EXPECT_EQ(Page(test), "<HTML>\r\n"
                          "<HEAD>\r\n"
                          "<TITLE>Экзамен</title>\r\n"
                          "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n"
                          "<MARK  score=\"-32000\"></mark>\r\n"
                          "<MARK  score=\"7\">Хорошо</mark>\r\n"
                          "</head>\r\n"
                          "<BODY bgcolor=\"#F3FFF2\" onLoad=\"NextSecond()\">\r\n"
                          "<LOG file=\"physics.htm\">\r\n"
                          "<h2>ТЕСТ: <INSERT item=\"testname\"></h2><p>\r\n"
                          "<h3>ЭКЗАМЕНУЕМЫЙ: <INSERT item=\"username\"></h3>\r\n"
                          "<hr><p ID=\"TimeStamp\">Время:</p><hr>\r\n" +
                              kScriptAndFooterStart + kFooter);
}

TEST(HtmlExport, DivisionsQuestionsAndVerbatimValues)
{
    ResetKeyNumbers();
    mirvane::Test test;
    test.MarkDiscriptionsSet(1, " пробелы ");
    test.MarkScoresSet(1, -3);
    AddDivisionTo(test, "Пустой", 0);
    Division& d = AddDivisionTo(test, "a < b & c", 2);
    Question& q = AddQuestionTo(d, "Первая строка\r\nx < 5 & y", {{" да ", 3}, {"", 8}, {"нет", -1}});
    (void)q;
    const std::string page = Page(test);
    EXPECT_NE(page.find("<MARK  score=\"-3\"> пробелы </mark>\r\n"), std::string::npos);
    EXPECT_NE(page.find("</script>\r\n"
                        "<h3>Пустой</h3>\r\n"
                        "<DIVISION inquire=\"0\" > \r\n"
                        "</DIVISION>\r\n"
                        "<h3>a < b & c</h3>\r\n"
                        "<DIVISION inquire=\"2\" > \r\n"
                        "<QUESTION type=\"radio\" qbgcolor=\"#FFEAEC\" abgcolor=\"#FEFFEA\">\r\n"
                        "<b>Первая строка\r\nx < 5 & y</b>\r\n"
                        "<ANSWER score=\"3\">\r\n"
                        " да \r\n"
                        "<ANSWER score=\"-1\">\r\n"
                        "нет\r\n"
                        "</DIVISION>\r\n"
                        "<p>Нажмите"),
              std::string::npos)
        << page;
}

TEST(HtmlExport, TimeInSeconds)
{
    mirvane::Test test;
    test.TestTime = 600;
    EXPECT_NE(Page(test).find("Time =36000;\r\n"), std::string::npos);
    test.TestTime = 1;
    EXPECT_NE(Page(test).find("Time =60;\r\n"), std::string::npos);
}

TEST(HtmlExport, JournalNameFromTheChosenFile)
{
    EXPECT_EQ(HtmlJournalName("a.q"), "a.htm");
    EXPECT_EQ(HtmlJournalName("/home/t/physics.q"), "physics.htm");
    EXPECT_EQ(HtmlJournalName("C:\\Тесты\\физика.q"), "физика.htm");
    EXPECT_EQ(HtmlJournalName("test.html"), "test.ht.htm");
    EXPECT_EQ(HtmlJournalName("ab"), "");
    EXPECT_EQ(HtmlJournalName("/dir/я"), "");
    EXPECT_EQ(HtmlJournalName("/dir/"), "");
    mirvane::Test test;
    EXPECT_EQ(Page(test, "/x/ab").find("<LOG"), std::string::npos);
    EXPECT_NE(Page(test, "/x/a.q").find("<LOG file=\"a.htm\">\r\n"), std::string::npos);
}

TEST(HtmlExport, FollowsTheDocumentOrderAndEncodesWindows1251)
{
    ResetKeyNumbers();
    mirvane::Test test;
    Division& a = AddDivisionTo(test, "Альфа", 1);
    AddQuestionTo(a, "первый");
    AddQuestionTo(a, "второй");
    Division& b = AddDivisionTo(test, "Бета", 1);
    DocumentOrder order;
    order.Divisions.push_back({b.Key, {}});
    order.Divisions.push_back({a.Key, {a.Questions.Item(2).Key, a.Questions.Item(1).Key}});
    const std::string bytes = WriteHtmlPage(test, order, "t.q");
    EXPECT_LT(bytes.find("\xC1\xE5\xF2\xE0"), bytes.find("\xC0\xEB\xFC\xF4\xE0")); // Бета before Альфа
    const std::string page = CodePage::Windows().Decode(bytes);
    EXPECT_LT(page.find("второй"), page.find("первый"));
}

} // namespace
} // namespace mirvane::testing
