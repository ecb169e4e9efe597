// The quiz formats of learning platforms: round trips, hand-written files,
// and files that cannot be read.
#include "TestSupport.h"

#include "interchange/Interchange.h"
#include "model/DocumentOrder.h"
#include "model/Test.h"

#include <gtest/gtest.h>

#include <random>

namespace mirvane::testing {
namespace {

// d1 "Механика": two questions; d2 "Оптика": one, its scores 4 2 1 -2.
std::unique_ptr<mirvane::Test> Sample()
{
    return std::move(Load({"Физика", ")t 30", ")<", "Неуд", ")* 2", "):Механика", ")?", "Сила {тока}: ~5 = #1?",
                           "вторая строка", ")! 1", "ампер", ")! 0", "вольт", ")?", "Масса", ")! 0", "кг", ")! 3",
                           "г", ")* 1", "):Оптика", ")?", "Линза", ")! 4", "собирающая", ")! 2", "рассеивающая",
                           ")! 1", "плоская", ")! -2", "нет"})
                         .test);
}

struct Shape {
    std::string division;
    std::string text;
    std::vector<std::string> answers;
    int best;
};

std::vector<Shape> ShapeOf(const mirvane::Test& test)
{
    std::vector<Shape> shape;
    for (const Division& d : test.Divisions) {
        for (const Question& q : d.Questions) {
            Shape s{d.Name, std::string(q.Q()), {}, q.GetBestAnswer()};
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (q.IsAnswerPresent(a))
                    s.answers.emplace_back(q.AGet(a));
            }
            shape.push_back(s);
        }
    }
    return shape;
}

void ExpectSameShape(const mirvane::Test& a, const mirvane::Test& b)
{
    const auto x = ShapeOf(a);
    const auto y = ShapeOf(b);
    ASSERT_EQ(x.size(), y.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        EXPECT_EQ(x[i].division, y[i].division) << i;
        EXPECT_EQ(x[i].text, y[i].text) << i;
        EXPECT_EQ(x[i].answers, y[i].answers) << i;
        EXPECT_EQ(x[i].best, y[i].best) << i;
    }
}

TEST(Interchange, MoodleXmlAndGiftComeBackWithTextsBestAnswersAndScoreShares)
{
    const auto test = Sample();
    const DocumentOrder order = DocumentOrder::FromCollections(*test);
    for (const bool gift : {false, true}) {
        const std::string file = gift ? ExportGift(*test, order).Text : ExportMoodleXml(*test, order).Text;
        const ImportedTest back = gift ? ImportGift(file, "физика") : ImportMoodleXml(file, "физика");
        SCOPED_TRACE(gift ? "GIFT" : "Moodle XML");
        EXPECT_TRUE(back.Notes.empty());
        ExpectSameShape(*test, *back.Read);
        const Question& lens = back.Read->Divisions.Item(2).Questions.Item(1);
        // 4 2 1 -2 of 4: 100, 50, 25, -50 per cent, read back in proportion.
        EXPECT_EQ(lens.AScoreGet(0), 100);
        EXPECT_EQ(lens.AScoreGet(1), 50);
        EXPECT_EQ(lens.AScoreGet(2), 25);
        EXPECT_EQ(lens.AScoreGet(3), -50);
        EXPECT_EQ(back.Read->Divisions.Item(1).NQ, 2);
        EXPECT_EQ(back.Read->TestName, "физика");
    }
    EXPECT_NE(ExportGift(*test, order).Text.find("Сила \\{тока\\}\\: \\~5 \\= \\#1?\\nвторая строка"), std::string::npos);
    EXPECT_NE(ExportMoodleXml(*test, order).Text.find("<answer fraction=\"-50\" format=\"plain_text\">"), std::string::npos);
}

TEST(Interchange, FractionsAreTheNearestMoodleAccepts)
{
    EXPECT_EQ(FractionText(MoodleFraction(1, 3)), "33.33333");
    EXPECT_EQ(FractionText(MoodleFraction(2, 3)), "66.66667");
    EXPECT_EQ(FractionText(MoodleFraction(7, 10)), "70");
    EXPECT_EQ(FractionText(MoodleFraction(-1, 7)), "-14.28571");
    EXPECT_EQ(FractionText(MoodleFraction(0, 0)), "100"); // as good as the best
    EXPECT_EQ(ScoreFromFraction(33.33333), 33);
    EXPECT_EQ(ScoreFromFraction(5), 5);
    EXPECT_EQ(ScoreFromFraction(-5), -5);
    EXPECT_EQ(ScoreFromFraction(12.5), 12); // half to even
}

TEST(Interchange, AikenKeepsTextAndBestAnswerAndSkipsWhatItCannotSay)
{
    auto test = Sample();
    test->Divisions.Item(1).Questions.Item(2).AScoreSet(0, 3); // "Масса": two best answers now
    const QuizExport aiken = ExportAiken(*test, DocumentOrder::FromCollections(*test));
    EXPECT_EQ(aiken.Skipped, 1);
    const ImportedTest back = ImportAiken(aiken.Text, "физика");
    const auto shape = ShapeOf(*back.Read);
    ASSERT_EQ(shape.size(), 2u);
    EXPECT_EQ(shape[0].text, "Сила {тока}: ~5 = #1? вторая строка"); // one line in Aiken
    EXPECT_EQ(shape[0].answers[static_cast<std::size_t>(shape[0].best)], "ампер");
    EXPECT_EQ(shape[1].answers[static_cast<std::size_t>(shape[1].best)], "собирающая");
}

// A text mostly of box drawing, which a guess would take for another code
// page, comes back from our own GIFT and Aiken files as it was.
TEST(Interchange, GiftAndAikenFilesNeedNoGuessOfTheirEncoding)
{
    const auto test = Load({"Т", ")t 30", ")<", "Неуд", ")* 1", "):Таблица", ")?", "░░░░ ▒▒▒▒ ▓▓▓▓ ║", ")! 1",
                            "Да", ")! 0", "Нет"})
                          .test;
    const DocumentOrder order = DocumentOrder::FromCollections(*test);
    ExpectSameShape(*test, *ImportGift(ExportGift(*test, order).Text, "Таблица").Read);
    EXPECT_EQ(ShapeOf(*ImportAiken(ExportAiken(*test, order).Text, "т").Read)[0].text, "░░░░ ▒▒▒▒ ▓▓▓▓ ║");
}

// The mark or the encoding named says UTF-8, but the bytes are not all
// UTF-8: the test holds a replacement character for each stray byte.
TEST(Interchange, BytesThatAreNoUtf8InAUtf8FileAreReplaced)
{
    const ImportedTest marked = ImportGift("\xEF\xBB\xBFq \xE0\x9C x{=a ~b}\n", "x");
    EXPECT_EQ(marked.Read->Divisions.Item(1).Questions.Item(1).Q(), "q \uFFFD\uFFFD x");
    const ImportedTest named = ImportAiken("q \xFF x\nA. a\nB. b\nANSWER: A\n", "x", TextEncoding::Utf8);
    EXPECT_EQ(named.Read->Divisions.Item(1).Questions.Item(1).Q(), "q \uFFFD x");
}

// "<img" in plain text is what the text says, not an image left out.
TEST(Interchange, OnlyHtmlInGiftHoldsImages)
{
    const ImportedTest plain = ImportGift("Тег <img src=a.png> пишут так{=да ~нет}\n", "x");
    EXPECT_TRUE(plain.Notes.empty()) << plain.Notes.front();
    EXPECT_EQ(plain.Read->Divisions.Item(1).Questions.Item(1).Q(), "Тег <img src=a.png> пишут так");
    const ImportedTest html = ImportGift("[html]Рисунок <img src=a.png>{=да ~нет}\n", "x");
    ASSERT_EQ(html.Notes.size(), 1u);
    EXPECT_NE(html.Notes[0].find("изображения не перенесены"), std::string::npos) << html.Notes[0];
}

TEST(Interchange, HandWrittenMoodleXml)
{
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- a question bank -->
<quiz>
  <question type="multichoice"><name><text>Без категории</text></name>
    <questiontext format="html"><text><![CDATA[<p>Сколько будет <b>2&nbsp;+&nbsp;2</b>?</p><p>Ответьте.</p>]]></text></questiontext>
    <answer fraction="100"><text>4</text><feedback><text>Верно</text></feedback></answer>
    <answer fraction="0"><text>5 &amp; 6</text></answer>
  </question>
  <question type="category"><category><text>$course$/Химия</text></category></question>
  <question type="truefalse"><name><text>Вода</text></name>
    <questiontext><text>Вода — H2O?</text></questiontext>
    <answer fraction="100"><text>true</text></answer><answer fraction="0"><text>false</text></answer>
  </question>
  <question type="essay"><name><text>Эссе</text></name><questiontext><text>Напишите</text></questiontext></question>
  <question type="matching"><name><text>Пары</text></name></question>
</quiz>)";
    const ImportedTest read = ImportMoodleXml(xml, "банк");
    ASSERT_EQ(read.Read->Divisions.Count(), 2u);
    const Division& first = read.Read->Divisions.Item(1);
    EXPECT_EQ(first.Name, "банк");
    EXPECT_EQ(first.Questions.Item(1).Q(), "Сколько будет 2 + 2?\r\nОтветьте.");
    EXPECT_EQ(first.Questions.Item(1).AGet(1), "5 & 6");
    const Division& chemistry = read.Read->Divisions.Item(2);
    EXPECT_EQ(chemistry.Name, "Химия");
    EXPECT_EQ(chemistry.Questions.Item(1).Q(), "Вода - H2O?"); // the dash as the test file keeps it
    EXPECT_EQ(chemistry.Questions.Item(1).AGet(0), "Верно");
    EXPECT_EQ(chemistry.Questions.Item(1).AScoreGet(0), 100);
    ASSERT_EQ(read.Notes.size(), 3u);
    EXPECT_EQ(read.Notes[0], "строка 4: вопрос «Без категории»: отзывы на ответы не перенесены");
    EXPECT_NE(read.Notes[1].find("строка 14: вопрос «Эссе» (эссе) пропущен"), std::string::npos) << read.Notes[1];
    EXPECT_NE(read.Notes[2].find("«Пары» (на соответствие)"), std::string::npos);
}

TEST(Interchange, HandWrittenGift)
{
    const std::string gift = "// a comment\n"
                             "$CATEGORY: $course$/Математика\n"
                             "\n"
                             "::Сумма::Сколько будет\n2 + 2?{\n"
                             "  =4 # верно\n"
                             "  ~%50%3,9 \\= почти\n"
                             "\n"
                             "  ~5\n"
                             "}\n"
                             "\n"
                             "Земля круглая?{T}\n"
                             "\n"
                             "::Столица::Столица Франции{=Париж =Paris}\n"
                             "\n"
                             "::Число::Пи{#3.14:0.01}\n"
                             "\n"
                             "::Пары::Сопоставьте{=a -> b =c -> d}\n"
                             "\n"
                             "::Эссе::Напишите{}\n";
    const ImportedTest read = ImportGift(gift, "урок");
    ASSERT_EQ(read.Read->Divisions.Count(), 1u);
    const Division& maths = read.Read->Divisions.Item(1);
    EXPECT_EQ(maths.Name, "Математика");
    ASSERT_EQ(maths.Questions.Count(), 2u);
    const Question& sum = maths.Questions.Item(1);
    EXPECT_EQ(sum.Q(), "Сколько будет\r\n2 + 2?");
    EXPECT_EQ(sum.AGet(0), "4");
    EXPECT_EQ(sum.AGet(1), "3,9 = почти");
    EXPECT_EQ(sum.AScoreGet(1), 50);
    EXPECT_EQ(sum.AGet(2), "5");
    EXPECT_EQ(maths.Questions.Item(2).AGet(0), "Верно");
    ASSERT_EQ(read.Notes.size(), 5u); // feedback, short answer, numerical, matching, essay
    EXPECT_EQ(read.Notes[0], "строка 4: вопрос «Сумма»: отзывы не перенесены");
    EXPECT_NE(read.Notes[1].find("строка 14: вопрос «Столица» (короткий ответ)"), std::string::npos) << read.Notes[1];
}

TEST(Interchange, FilesThatCannotBeReadNameTheirLineAndNeverCrash)
{
    auto lineOf = [](QuizFormat format, std::string_view text) {
        try {
            ImportQuiz(format, text, "x");
        } catch (const ImportError& e) {
            return e.Line();
        }
        return std::size_t{0};
    };
    EXPECT_EQ(lineOf(QuizFormat::MoodleXml, "<quiz>\n<question type=\"multichoice\">\n</quiz>"), 3u);
    EXPECT_EQ(lineOf(QuizFormat::MoodleXml, "<quiz><a b=c/></quiz>"), 1u);
    EXPECT_EQ(lineOf(QuizFormat::MoodleXml, "<html></html>"), 1u);
    EXPECT_EQ(lineOf(QuizFormat::Gift, "a\n\n::b c{=d ~e}\n"), 3u);

    std::mt19937 random(17);
    const std::string pieces[] = {"<", ">", "</", "quiz", "question", "=", "\"", "{", "}", "~", "::", "\\", "\n",
                                  "A.", "ANSWER:", "&", ";", "#", "%", "<![CDATA[", "]]>", "$CATEGORY:", "а"};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (int i = static_cast<int>(random() % 40); i > 0; --i)
            text += pieces[random() % std::size(pieces)];
        for (QuizFormat format : {QuizFormat::MoodleXml, QuizFormat::Gift, QuizFormat::Aiken}) {
            try {
                ImportQuiz(format, text, "x");
            } catch (const ImportError&) {
            }
        }
    }
}

} // namespace
} // namespace mirvane::testing
