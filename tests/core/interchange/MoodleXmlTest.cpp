// Moodle XML as real exports and hand-made banks write it (the samples in
// core/interchange/samples/moodle), files meant to harm the reader, and what the
// export may write for Moodle to accept it.
#include "TestSupport.h"

#include "interchange/Interchange.h"
#include "model/DocumentOrder.h"
#include "model/Test.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace mirvane::testing {
namespace {

std::string Sample(const char* name)
{
    std::ifstream in(std::string(MIRVANE_SAMPLES) + "/moodle/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A question as "text | answer score | answer score ...".
std::vector<std::string> Questions(const Division& division)
{
    std::vector<std::string> out;
    for (const Question& q : division.Questions) {
        std::string line(q.Q());
        for (int a = 0; a < Question::kAnswerSlots; ++a) {
            if (q.IsAnswerPresent(a))
                line += " | " + std::string(q.AGet(a)) + " " + std::to_string(q.AScoreGet(a));
        }
        out.push_back(line);
    }
    return out;
}

std::string Joined(const std::vector<std::string>& notes)
{
    std::string out;
    for (const std::string& note : notes)
        out += note + "\n";
    return out;
}

TEST(MoodleXml, ACourseExportComesInAsMoodleShowsIt)
{
    const ImportedTest read = ImportMoodleXml(Sample("course-export.xml"), "физика");
    ASSERT_EQ(read.Read->Divisions.Count(), 1u);
    const Division& division = read.Read->Divisions.Item(1);
    EXPECT_EQ(division.Name, "По умолчанию для Физика/Механика");
    EXPECT_EQ(Questions(division),
              (std::vector<std::string>{
                  "В каких единицах измеряют силу?\r\nВыберите один ответ. | в ньютонах 100 | в джоулях & ваттах -33",
                  "Какая лампа горит? | [изображение] 100 | ни одна 0",
                  "Тело движется по инерции, если силы скомпенсированы. | Верно 100 | Неверно 0",
                  "Какие величины векторные? | сила 50 | скорость 50 | масса -100"}));
    EXPECT_EQ(Joined(read.Notes), "строка 58: вопрос «Схема»: изображения в тексте не перенесены (1)\n"
                                  "строка 75: вопрос «Схема»: ответ из одного изображения записан как «[изображение]»\n"
                                  "строка 119: вопрос «Опыт» (эссе) пропущен: проигрыватель показывает только "
                                  "вопросы с выбором ответа\n"
                                  "строка 132: вопрос «Векторные величины»: отзывы на ответы не перенесены\n"
                                  "строка 132: вопрос «Векторные величины»: ответов с наибольшим баллом 2, а у "
                                  "вопроса теста верный ответ один\n");
}

TEST(MoodleXml, EachTextFormatIsShownAsMoodleShowsIt)
{
    const ImportedTest read = ImportMoodleXml(Sample("text-formats.xml"), "форматы");
    ASSERT_EQ(read.Read->Divisions.Count(), 1u);
    const Division& division = read.Read->Divisions.Item(1);
    EXPECT_EQ(division.Name, "форматы") << "the root category is no division of its own";
    EXPECT_EQ(Questions(division),
              (std::vector<std::string>{"Верно ли:\r\n3 < 5 и 7 > 2? | да 100 | нет 0",
                                        "Сколько раз выполнится\r\nfor (i = 0; i < 3; i++) <b>x++; | 3 <b> 100 | 4 0",
                                        "Лексика\r\nКакое слово лишнее? | кот 100 | стол 0",
                                        "Какие из новых слов\r\nверны? | a < b 100 | никакие 0"}));
    EXPECT_TRUE(read.Notes.empty()) << Joined(read.Notes);
}

TEST(MoodleXml, TheEncodingDeclarationIsHonoured)
{
    for (const char* name : {"windows-1251.xml", "utf-16.xml"}) {
        const ImportedTest read = ImportMoodleXml(Sample(name), "x");
        ASSERT_EQ(read.Read->Divisions.Count(), 1u) << name;
        EXPECT_EQ(read.Read->Divisions.Item(1).Name, "География") << name;
        EXPECT_EQ(Questions(read.Read->Divisions.Item(1)),
                  std::vector<std::string>{"Столица России? | Москва 100 | Санкт-Петербург 0"})
            << name;
    }
}

TEST(MoodleXml, FilesMeantToHarmTheReaderAreRefusedWithTheirLine)
{
    auto refusal = [](const std::string& xml) {
        try {
            ImportMoodleXml(xml, "x");
        } catch (const ImportError& e) {
            return "строка " + std::to_string(e.Line()) + ": " + e.what();
        }
        return std::string("read");
    };
    // Each entity twice the one before: a few bytes that would expand to gigabytes.
    std::string laughs = "<!DOCTYPE quiz [\n<!ENTITY l0 \"ha\">\n";
    for (int i = 1; i < 30; ++i)
        laughs += "<!ENTITY l" + std::to_string(i) + " \"&l" + std::to_string(i - 1) + ";&l" + std::to_string(i - 1) + ";\">\n";
    laughs += "]>\n<quiz>&l29;</quiz>";
    EXPECT_EQ(refusal(laughs), "строка 2: объявления сущностей не допускаются");
    EXPECT_EQ(refusal("<!DOCTYPE quiz [<!ENTITY f SYSTEM \"file:///etc/passwd\">]><quiz>&f;</quiz>"),
              "строка 1: объявления сущностей не допускаются");
    EXPECT_EQ(refusal("<!DOCTYPE quiz SYSTEM \"http://example.com/q.dtd\">\n<quiz>\n&f;</quiz>"),
              "строка 3: неизвестная ссылка на символ");
    EXPECT_EQ(refusal("<quiz>\n&nbsp;</quiz>"), "строка 2: неизвестная ссылка на символ");
    std::string deep = "<quiz>\n";
    for (int i = 0; i < 300; ++i)
        deep += "<a>";
    EXPECT_EQ(refusal(deep), "строка 2: слишком глубокая вложенность");
    EXPECT_EQ(refusal(" \n"), "строка 1: файл пуст");
    EXPECT_EQ(refusal("<quiz>\n<question>\n"), "строка 3: не закрыт элемент <question>");
    EXPECT_EQ(refusal("<?xml version=\"1.0\" encoding=\"koi8-u\"?><quiz/>"), "строка 1: неизвестная кодировка файла");
    EXPECT_EQ(refusal("<quiz>&#1;</quiz>"), "строка 1: недопустимая ссылка на символ");
}

TEST(MoodleXml, AQuizWithoutQuestionsSaysSo)
{
    const ImportedTest read = ImportMoodleXml("<quiz>\n<question type=\"category\"/>\n</quiz>", "x");
    EXPECT_EQ(Joined(read.Notes), "в файле нет вопросов\n");
}

TEST(MoodleXml, TheExportWritesOnlyWhatMoodleAccepts)
{
    const auto test = Load({"Тест", ")* 4", "):top", ")?", "Куда \x18 и \x1B?", ")! 1", "вверх", ")! 0", "влево",
                            ")?", "Один ответ", ")! 1", "да", ")?", "Лучший пуст", ")! 0", "нет", ")! 0", "нет", ")! 0", "тоже", ")?",
                            "Почти", ")! 20", "весь балл", ")! 19", "почти весь"})
                          .test;
    test->Divisions.Item(1).Questions.Item(3).ASet(0, ""); // "Лучший пуст": its best slot is blank
    test->Divisions.Item(1).Questions.Item(3).AScoreSet(0, 5);
    const QuizExport written = ExportMoodleXml(*test, DocumentOrder::FromCollections(*test));
    EXPECT_EQ(written.Skipped, 2);
    EXPECT_EQ(Joined(written.Notes),
              "раздел «top», вопрос 2 «Один ответ» не записан: меньше двух ответов (notenoughanswers)\n"
              "раздел «top», вопрос 3 «Лучший пуст» не записан: лучший ответ пуст, и ни один ответ не даёт "
              "100 % (fractionsnomax)\n"
              "символов, недопустимых в XML, заменено: 2 (управляющие - знаками экрана DOS, прочие - знаком �)\n");
    const ImportedTest back = ImportMoodleXml(written.Text, "x");
    EXPECT_EQ(back.Read->Divisions.Item(1).Name, "top");
    EXPECT_EQ(Questions(back.Read->Divisions.Item(1)),
              (std::vector<std::string>{"Куда ↑ и ←? | вверх 100 | влево 0", "Почти | весь балл 100 | почти весь 90"}));
}

} // namespace
} // namespace mirvane::testing
