// GIFT and Aiken files in the forms real exports use (the samples folder),
// with the questions they hold written out by hand; what the test cannot
// hold is told with its line.
#include "TestSupport.h"

#include "check/StructureCheck.h"
#include "cli/Cli.h"
#include "interchange/Interchange.h"
#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/Utf8.h"
#include "testfile/TestFileWriter.h"

#include "core/interchange/QuestionLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mirvane::testing {
namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Sample(const std::string& name) { return FileBytes(std::string(MIRVANE_SAMPLES) + "/" + name); }


using Lines = std::vector<std::string>;

TEST(QuizSamples, GiftAsAPlatformExportsIt)
{
    const ImportedTest read = ImportGift(Sample("moodle-export.gift"), "урок");
    EXPECT_EQ(Questions(*read.Read),
              (Lines{"География | Укажите столицу России:: Москва 100; Санкт-Петербург 0; Казань -50;",
                     "География | Какие моря омывают Россию?: Чёрное 50; Балтийское 50; Средиземное -100;",
                     "География | Вода состоит из водорода и кислорода.: Верно 100; Неверно 0;",
                     "География | Луна - звезда.: Верно 0; Неверно 100;",
                     "География | Would you like _____ rice?: some 100; a few 0; too many 0;",
                     "География | [Глава 2] Что означает запись a -> b?: переход от a к b 100; сравнение a и b 33; "
                     "присваивание 5; ничего 0;",
                     "География | Что изображено?: кот 100; собака 0;"}));
    EXPECT_EQ(read.Notes, (Lines{"строка 9: вопрос «Столица»: отзывы не перенесены",
                                 "строка 17: вопрос «Моря»: ответов с наибольшим баллом 2, а у вопроса теста верный "
                                 "ответ один",
                                 "строка 25: вопрос «Вода: состав»: отзывы не перенесены",
                                 "строка 29: вопрос «Луна»: отзывы не перенесены",
                                 "строка 46: вопрос «Рисунок»: изображения не перенесены"}));
    // Two marks: failing below half of the best run (50 + six times 100).
    EXPECT_EQ(read.Read->MarkDiscriptionsGet(0), "Не сдано");
    EXPECT_EQ(read.Read->MarkDiscriptionsGet(1), "Сдано");
    EXPECT_EQ(read.Read->MarkScoresGet(1), 325);
}

TEST(QuizSamples, AnOpenBraceEndsAtTheBlankLineAndAikenReadsEveryWellFormedQuestion)
{
    const ImportedTest gift = ImportGift(Sample("unclosed.gift"), "ноги");
    EXPECT_EQ(Questions(*gift.Read), (Lines{"ноги | Сколько ног у жука?: шесть 100; восемь 0;"}));
    EXPECT_EQ(gift.Notes, (Lines{"строка 1: вопрос «Паук» пропущен: не закрыта «{» с ответами"}));

    const ImportedTest aiken = ImportAiken(Sample("with-errors.aiken.txt"), "планеты");
    EXPECT_EQ(Questions(*aiken.Read),
              (Lines{"планеты | Какой газ преобладает в атмосфере Земли?: Кислород 0; Азот 100; Углекислый газ 0;",
                     "планеты | Какая планета ближе всех к Солнцу?: Меркурий 100; Венера 0;",
                     "планеты | Самая горячая планета?: Венера 100; Меркурий 0;"}));
    EXPECT_EQ(aiken.Notes,
              (Lines{"строка 9: вопрос «Сколько планет в Солнечной системе?» пропущен: ответы должны идти по "
                     "буквам A, B, C...",
                     "строка 17: вопрос «Вопрос без ответа» пропущен: у вопроса нет строки «ANSWER:»",
                     "строка 24: вопрос «Самая большая планета?» пропущен: в «ANSWER:» буква, которой нет среди "
                     "ответов"}));
}

TEST(QuizSamples, EncodingsAreReadAndBinaryFilesRefused)
{
    const std::string utf8 = Sample("unclosed.gift");
    std::string utf16 = "\xFF\xFE";
    for (char32_t c : ToUtf32(utf8)) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    std::string aiken16 = "\xFF\xFE";
    for (char c : std::string("Q\nA. a\nB. b\nANSWER: A\n"))
        aiken16 += {c, '\0'};
    EXPECT_EQ(DetectQuizFormat(aiken16, "bank.txt"), QuizFormat::Aiken);
    for (const std::string& bytes : {CodePage::Windows().Encode(utf8), CodePage::Dos().Encode(utf8), utf16,
                                     "\xEF\xBB\xBF" + utf8}) {
        EXPECT_EQ(Questions(*ImportGift(bytes, "ноги").Read), (Lines{"ноги | Сколько ног у жука?: шесть 100; восемь 0;"}));
    }
    for (const std::string& binary : {std::string("PK\x03\x04\x14\0\x06\0word/document.xml", 25),
                                      std::string("Вопрос{=да ~нет}\0\0\0", 30)}) {
        try {
            ImportGift(binary, "x");
            ADD_FAILURE() << "read as text";
        } catch (const ImportError& e) {
            EXPECT_STREQ(e.what(), "не текстовый файл");
        }
    }

    // Too few letters to tell the page: only the user's choice reads them.
    const auto dir = std::filesystem::temp_directory_path() / ("quiz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream((dir / "a.gift").string(), std::ios::binary) << CodePage::Windows().Encode("Да?{=а ~б}");
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"import", "--from", "gift", "--encoding", "cp1251", (dir / "a.gift").string(),
                      (dir / "a.q").string()},
                     out, err),
              0)
        << err.str();
    EXPECT_EQ(Questions(*LoadBytes(FileBytes((dir / "a.q").string())).test), (Lines{"a | Да?: а 100; б 0;"}));
    std::filesystem::remove_all(dir);
}

// GIFT's [html] text reads as the same HTML reads in Moodle XML.
TEST(QuizSamples, HtmlInGiftKeepsALessThanThatOpensNoTag)
{
    const ImportedTest read = ImportGift("[html]a < b и <b>c</b> &lt; d{=да ~нет}\n", "x");
    EXPECT_EQ(read.Read->Divisions.Item(1).Questions.Item(1).Q(), "a < b и c < d");
}

TEST(QuizSamples, TextsGoThroughThePanelsRulesAndReadBackFromTheTestFile)
{
    std::string answers;
    for (int i = 1; i <= 11; ++i)
        answers += (i == 11 ? " =" : " ~") + std::to_string(i);
    const ImportedTest read = ImportGift("Код:\n)! 5\n)* 3{=a ~b}\n\n"
                                         "Стрелка \x18 и x² ≤ π{=да ~нет}\n\n"
                                         "Одиннадцать{" + answers + "}\n\n"
                                         "Нет ответов{=[html]<img src\\=\"a.png\"> ~  }\n",
                                         "правила");
    const Division& division = read.Read->Divisions.Item(1);
    EXPECT_EQ(division.Questions.Item(1).Q(), "Код:\r\n )! 5\r\n )* 3");
    EXPECT_EQ(division.Questions.Item(2).Q(), "Стрелка ? и x² ≤ π");
    const Question& eleven = division.Questions.Item(3);
    EXPECT_EQ(eleven.AGet(8), "11");
    EXPECT_EQ(eleven.GetBestAnswer(), 8);
    EXPECT_EQ(read.Notes, (Lines{"строка 5: вопрос «Стрелка ? и x² ≤ π»: управляющих символов 1, заменены на «?»",
                                 "строка 5: вопрос «Стрелка ? и x² ≤ π»: символов нет в кодовой странице 866, в "
                                 "файле теста станут «?»: ²≤π",
                                 "строка 7: вопрос «Одиннадцать»: ответов 11, сохранены девять лучших, не вошли: "
                                 "«9», «10»",
                                 "строка 9: вопрос «Нет ответов» пропущен: нет ни одного ответа с текстом"}));

    const std::string file = WriteTestFile(*read.Read, DocumentOrder::FromCollections(*read.Read));
    Lines back = Questions(*LoadBytes(file).test);
    Lines imported = Questions(*read.Read);
    imported[1] = "правила | Стрелка ? и x? ? ?: да 100; нет 0;"; // as the test file's code page keeps it
    EXPECT_EQ(back, imported);

    EXPECT_THROW(ImportGift("\n// nothing but a comment\n", "x"), ImportError);
    EXPECT_THROW(ImportAiken("", "x"), ImportError);
}

TEST(QuizSamples, ALargeBankIsAskedWithinThePlayersLimits)
{
    for (const int divisions : {39, 20}) {
        std::string gift;
        for (int i = 0; i < 52; ++i)
            gift += "$CATEGORY: $course$/Тема " + std::to_string(i % divisions) + "\n\nВопрос " +
                    std::to_string(i) + "{=да ~%25%нет ~%-5%не знаю}\n\n";
        const ImportedTest read = ImportGift(gift, "банк");
        ASSERT_EQ(read.Read->Divisions.Count(), static_cast<std::size_t>(divisions));
        const CheckFinding finding = CheckStructure(*read.Read);
        EXPECT_FALSE(finding.Found) << finding.Message;
        int asked = 0;
        for (const Division& d : read.Read->Divisions)
            asked += d.NQ;
        EXPECT_EQ(asked, 25);
    }
}

TEST(QuizSamples, AnImportTellsHowFarItHasReadAndStopsWhenAsked)
{
    std::string gift;
    for (int i = 0; i < 20000; ++i)
        gift += "Вопрос " + std::to_string(i) + "{=да ~нет}\n\n";
    std::vector<std::size_t> told;
    const ImportedTest read = ImportQuiz(QuizFormat::Gift, gift, "x", std::nullopt, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, gift.size());
        told.push_back(done);
        return true;
    });
    EXPECT_EQ(read.Read->Divisions.Item(1).Questions.Count(), 20000u);
    EXPECT_GT(told.size(), 5u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));

    int calls = 0;
    EXPECT_THROW(ImportQuiz(QuizFormat::Aiken, ExportAiken(*read.Read, DocumentOrder::FromCollections(*read.Read)).Text,
                            "x", std::nullopt, [&](std::size_t, std::size_t) { return ++calls < 3; }),
                 ImportCancelled);
    EXPECT_EQ(calls, 3);
    calls = 0;
    EXPECT_THROW(ImportQuiz(QuizFormat::MoodleXml, ExportMoodleXml(*read.Read, DocumentOrder::FromCollections(*read.Read)).Text,
                            "x", std::nullopt, [&](std::size_t, std::size_t) { return ++calls < 3; }),
                 ImportCancelled);
    EXPECT_EQ(calls, 3) << "a Moodle XML file is stopped while it is read";
}

TEST(QuizSamples, RoundTripsKeepAwkwardTexts)
{
    auto loaded = Load({"Т", ")t 30", ")<", "Неуд", ")* 1", "):Раздел", ")?", "Укажите столицу России:", ")! 1",
                        "Москва", ")! 0", "Казань", ")! 0", "\t", ")?", "A. Первая буква?", ")! 0", "B. нет",
                        ")! 1", "C. да", ")?", "[html] остаётся текстом", ")! 2", "[Глава 2]", ")! 1", "%5% a -> b", ")?", ")! 1", "без текста", ")! 0", "нет"});
    const mirvane::Test& test = *loaded.test;
    const DocumentOrder order = DocumentOrder::FromCollections(test);
    const QuizExport gift = ExportGift(test, order);
    const QuizExport aiken = ExportAiken(test, order);
    EXPECT_EQ(gift.Skipped, 0);
    EXPECT_EQ(aiken.Skipped, 1); // a question without text
    EXPECT_EQ(gift.Text.find("::::"), std::string::npos) << "an empty title is no title";
    const Lines expected{"Раздел | Укажите столицу России:: Москва 100; Казань 0;",
                         "Раздел | A. Первая буква?: B. нет 0; C. да 100;",
                         "Раздел | [html] остаётся текстом: [Глава 2] 100; %5% a -> b 50;",
                         "Раздел | : без текста 100; нет 0;"};
    EXPECT_EQ(aiken.Text.find("A. Первая буква?"), std::string::npos) << "no reader may take it for an option";
    const ImportedTest fromGift = ImportGift(gift.Text, "x");
    EXPECT_EQ(Questions(*fromGift.Read), expected);
    EXPECT_EQ(fromGift.Read->Divisions.Item(1).Questions.Item(1).Q(), "Укажите столицу России:");
    EXPECT_TRUE(fromGift.Notes.empty()) << fromGift.Notes[0];
    const ImportedTest aikenBack = ImportAiken(aiken.Text, "Раздел");
    Lines fromAiken = Questions(*aikenBack.Read);
    ASSERT_EQ(fromAiken.size(), 3u) << aiken.Text << aikenBack.Notes[0];
    EXPECT_EQ(fromAiken[1], expected[1]);
}

} // namespace
} // namespace mirvane::testing
