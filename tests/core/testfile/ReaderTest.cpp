#include "TestSupport.h"

#include "model/DocumentOrder.h"
#include "testfile/ReaderMessages.h"
#include "testfile/TestFileWriter.h"

#include "testfile/FileIo.h"
#include "testfile/TestFileReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <random>

namespace mirvane::testing {
namespace {

using namespace reader_text;

std::string S(std::string_view v) { return std::string(v); }

// A minimal header: title plus two command lines, so that the file is a test
// file whatever the lines under test are.
LoadedTest LoadWithHeader(std::initializer_list<std::string_view> body)
{
    std::vector<std::string_view> lines = {"Заголовок", ") a", ") b"};
    lines.insert(lines.end(), body.begin(), body.end());
    std::string text;
    for (auto l : lines) {
        text.append(l);
        text.append("\r\n");
    }
    return LoadBytes(AnsiToOem(text));
}

TEST(ReaderTitle, FirstLineIsTheTitleWhateverItBegins)
{
    auto t = Load({")t 30", ")t 45", ") x", "):"});
    ASSERT_TRUE(t.isTestFile);
    EXPECT_EQ(t.test->TestName, ")t 30");
    EXPECT_EQ(t.test->TestTime, 45);
}

TEST(ReaderSettings, TestTime)
{
    for (const char* arg : {"0", "601", "-5"}) {
        auto t = LoadWithHeader({std::string(")t ").append(arg).c_str()});
        EXPECT_EQ(t.test->TestTime, 30) << arg;
        EXPECT_TRUE(t.messages.empty()) << arg;
    }
    auto ok = LoadWithHeader({")t 600"});
    EXPECT_EQ(ok.test->TestTime, 600);
    auto rounded = LoadWithHeader({")t 45.5"});
    EXPECT_EQ(rounded.test->TestTime, 46);

    auto bad = LoadWithHeader({")t 45", ")t abc"});
    EXPECT_EQ(bad.test->TestTime, 45);
    ASSERT_EQ(bad.messages.size(), 1u);
    EXPECT_EQ(bad.messages[0].Text, S(kBadTime));
    EXPECT_EQ(bad.messages[0].Line, 5);

    // A number beyond 16 bits is not a number.
    auto huge = LoadWithHeader({")t 70000"});
    EXPECT_EQ(huge.test->TestTime, 30);
    EXPECT_EQ(huge.Texts(), std::vector<std::string>{S(kBadTime)});
}

TEST(ReaderSettings, WorkOnMistakesAndLogType)
{
    auto t = LoadWithHeader({")\" 1", ")@ 2"});
    EXPECT_EQ(t.test->ShowErrors, 1);
    EXPECT_EQ(t.test->LogType, 2);
    EXPECT_TRUE(t.messages.empty());

    auto bad = LoadWithHeader({")\" 1", ")\" 2", ")@ 1", ")@ 3"});
    EXPECT_EQ(bad.test->ShowErrors, 0);
    EXPECT_EQ(bad.test->LogType, 0);
    EXPECT_EQ(bad.Texts(), (std::vector<std::string>{S(kBadShowErrors), S(kBadLogType)}));
    EXPECT_EQ(S(kBadShowErrors),
              "Ошибка при попытке считать параметр \"Проводить работу над ошибками\"");

    auto ignored = LoadWithHeader({")\" 1", ")\" x", ")@ 2", ")@ x"});
    EXPECT_EQ(ignored.test->ShowErrors, 1);
    EXPECT_EQ(ignored.test->LogType, 2);
    EXPECT_TRUE(ignored.messages.empty());
}

TEST(ReaderSettings, JournalFileName)
{
    EXPECT_EQ(LoadWithHeader({")f ab"}).test->LogFile, "ab");
    EXPECT_EQ(LoadWithHeader({")f  журнал.тх  "}).test->LogFile, "журнал.тх");
    for (const char* line : {")f a", ")f abcdefghijk", ")f"}) {
        auto t = LoadWithHeader({")f OLD.TXT", line});
        EXPECT_EQ(t.test->LogFile, "LOG.TXT") << line;
        EXPECT_EQ(t.Texts(), std::vector<std::string>{S(kBadLogFile)}) << line;
    }
}

TEST(ReaderMarks, FailingMarkAndMarksInFileOrder)
{
    auto t = LoadWithHeader({")<", "Не сдан", ")> 10", "Удовлетворительно", ")> 20", "Хорошо"});
    EXPECT_EQ(t.test->MarkDiscriptionsGet(0), "Не сдан");
    EXPECT_EQ(t.test->MarkScoresGet(0), -32768);
    EXPECT_EQ(t.test->MarkDiscriptionsGet(1), "Удовлетворительно");
    EXPECT_EQ(t.test->MarkScoresGet(1), 10);
    EXPECT_EQ(t.test->MarkDiscriptionsGet(2), "Хорошо");
    EXPECT_EQ(t.test->MarkScoresGet(2), 20);
    EXPECT_TRUE(t.messages.empty());
}

TEST(ReaderMarks, FailingMarkHasNoScoreOfItsOwnEvenWithoutItsLine)
{
    auto t = LoadWithHeader({")t 20"});
    EXPECT_EQ(t.test->MarkScoresGet(0), -32768);
    EXPECT_EQ(t.test->MarkDiscriptionsGet(0), "Экзамен не сдан");
}

TEST(ReaderMarks, EmptyDescriptionLeavesTheSlotFree)
{
    auto t = LoadWithHeader({")> 5", "", ")> 7", "Семь"});
    EXPECT_EQ(t.test->MarkDiscriptionsGet(1), "Семь");
    EXPECT_EQ(t.test->MarkScoresGet(1), 7);
    EXPECT_EQ(t.test->MarkDiscriptionsGet(2), "");
}

TEST(ReaderMarks, DescriptionOfSpacesTakesASlotButIsNoMark)
{
    auto t = LoadWithHeader({")> 5", "   ", ")> 7", "Семь"});
    EXPECT_EQ(t.test->MarkDiscriptionsGet(1), "   ");
    EXPECT_FALSE(t.test->IsMarkInUse(1));
    EXPECT_EQ(t.test->MarkDiscriptionsGet(2), "Семь");
    // Written again, the blank mark is gone and the other keeps its score.
    const std::string file = WriteTestFile(*t.test, DocumentOrder::FromCollections(*t.test));
    EXPECT_EQ(file.find(")> 5"), std::string::npos);
    EXPECT_NE(file.find(AnsiToOem(")> 7\r\nСемь\r\n")), std::string::npos);
}

TEST(ReaderMarks, TenthMarkFindsNoSlotAndItsDescriptionIsACommand)
{
    auto t = LoadWithHeader({")> 1", "m1", ")> 2", "m2", ")> 3", "m3", ")> 4", "m4", ")> 5", "m5", ")> 6", "m6",
                             ")> 7", "m7", ")> 8", "m8", ")> 9", "m9", ")> 10", "десятая"});
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(t.test->MarkDiscriptionsGet(i), "m" + std::to_string(i));
    EXPECT_EQ(t.test->MarkDiscriptionsGet(10), "");
    ASSERT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(t.messages[0].Text, S(kUnknownCommand) + "\r\nдесятая");
    EXPECT_EQ(t.messages[0].Line, 23);
}

TEST(ReaderMarks, BadScoreReadsTheDescriptionAsACommand)
{
    auto t = LoadWithHeader({")> x", ")t 50"});
    EXPECT_EQ(t.test->TestTime, 50);
    EXPECT_EQ(t.test->MarkDiscriptionsGet(1), "");
    ASSERT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(t.messages[0].Text, S(kBadMarkScore));
    EXPECT_EQ(t.messages[0].Line, 4);
}

TEST(ReaderDivisions, QuestionCountAndNames)
{
    auto t = LoadWithHeader({")*", ")* 0", "):  Алгебра ", ")* 26", ")* x", ")* 25"});
    ASSERT_EQ(t.test->Divisions.Count(), 5u);
    const auto& d = t.test->Divisions;
    EXPECT_EQ(d.Item(1).NQ, 1);
    EXPECT_EQ(d.Item(1).Name, "Раздел 1");
    EXPECT_EQ(d.Item(2).NQ, 0);
    EXPECT_EQ(d.Item(2).Name, "  Алгебра ");
    EXPECT_EQ(d.Item(3).NQ, 1);
    EXPECT_EQ(d.Item(3).Name, "Раздел 3");
    EXPECT_EQ(d.Item(4).NQ, 1);
    EXPECT_EQ(d.Item(5).NQ, 25);
    ASSERT_EQ(t.messages.size(), 2u);
    EXPECT_EQ(t.messages[0].Text, S(kQuestionCountOutOfRange));
    EXPECT_EQ(t.messages[0].Line, 7);
    EXPECT_EQ(t.messages[1].Text, S(kBadDivision));
    EXPECT_EQ(t.messages[1].Line, 8);
}

TEST(ReaderDivisions, KeysComeFromTheCounterInReadingOrder)
{
    auto t = LoadWithHeader({")*", ")?", "a", ")?", "b", ")*", ")?", "c"});
    const auto& d = t.test->Divisions;
    EXPECT_EQ(d.Item(1).Key, "d1");
    EXPECT_EQ(d.Item(1).Questions.Item(1).Key, "q2");
    EXPECT_EQ(d.Item(1).Questions.Item(2).Key, "q3");
    EXPECT_EQ(d.Item(2).Key, "d4");
    EXPECT_EQ(d.Item(2).Questions.Item(1).Key, "q5");
    EXPECT_TRUE(d.Contains("d4"));
}

TEST(ReaderDivisions, LinesOutOfPlace)
{
    auto t = LoadWithHeader({")? stray", ")! 1", ")*", ")! 2", ")t 5", "text", "", ")", ") c", "):x"});
    EXPECT_EQ(t.Texts(), (std::vector<std::string>{S(kQuestionOutsideDivision), S(kAnswerOutsideDivision),
                                                  S(kBadDivisionLine), S(kBadDivisionLine),
                                                  S(kBadDivisionLine)}));
    EXPECT_EQ(t.messages[0].Line, 4);
    EXPECT_EQ(t.messages[4].Line, 9);
    EXPECT_EQ(t.test->TestTime, 30);
}

TEST(ReaderQuestions, TextAndAnswers)
{
    auto t = LoadWithHeader({")* 1", "):Раздел", ")?", "", "Сколько будет", "", "2+2?", ")! 0", "три", ")! 1",
                             "четыре", "ровно", ")!", "пять", ")?", "второй"});
    const auto& qs = t.test->Divisions.Item(1).Questions;
    ASSERT_EQ(qs.Count(), 2u);
    const Question& q = qs.Item(1);
    // Leading empty lines vanish; an empty line after text stays.
    EXPECT_EQ(q.Q(), "Сколько будет\r\n\r\n2+2?");
    EXPECT_EQ(q.AGet(0), "три");
    EXPECT_EQ(q.AScoreGet(0), 0);
    EXPECT_EQ(q.AGet(1), "четыре\r\nровно");
    EXPECT_EQ(q.AScoreGet(1), 1);
    EXPECT_EQ(q.AGet(2), "пять");
    EXPECT_EQ(q.AScoreGet(2), 0);
    EXPECT_EQ(qs.Item(2).Q(), "второй");
    EXPECT_TRUE(t.messages.empty());
}

TEST(ReaderQuestions, CommandsInsideAQuestion)
{
    auto t = LoadWithHeader({")*", ")?", "начало", ") комментарий", ")t 30", ")/ блок", "скрыто", "тоже",
                             ")/ конец", "после", ")", "):", ")! x", "ответ"});
    const Question& q = t.test->Divisions.Item(1).Questions.Item(1);
    EXPECT_EQ(q.Q(), "начало\r\n)t 30\r\nпосле");
    EXPECT_EQ(q.AGet(0), "ответ");
    EXPECT_EQ(q.AScoreGet(0), 0);
    ASSERT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(t.messages[0].Text, S(kBadAnswerScore));
    EXPECT_EQ(t.messages[0].Line, 16);
}

TEST(ReaderQuestions, TenthAnswer)
{
    auto t = LoadWithHeader({")*", ")?", "Вопрос", ")! 1", "a1", ")! 2", "a2", ")! 3", "a3", ")! 4", "a4", ")! 5", "a5",
                             ")! 6", "a6", ")! 7", "a7", ")! 8", "a8", ")! 9", "a9", ")! 10", "a10", "a10b", ")?",
                             "next"});
    const auto& qs = t.test->Divisions.Item(1).Questions;
    ASSERT_EQ(qs.Count(), 2u);
    const Question& q = qs.Item(1);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(q.AGet(i), "a" + std::to_string(i + 1));
        EXPECT_EQ(q.AScoreGet(i), i + 1);
    }
    EXPECT_EQ(q.AGet(9), "");
    EXPECT_EQ(t.Texts(), (std::vector<std::string>{S(kTooManyAnswers), S(kBadDivisionLine), S(kBadDivisionLine),
                                                  S(kBadDivisionLine)}));
    EXPECT_EQ(t.messages[0].Line, 25);
    EXPECT_EQ(t.messages[1].Line, 25);
    EXPECT_EQ(t.messages[3].Line, 27);
    EXPECT_EQ(qs.Item(2).Q(), "next");
}

TEST(ReaderTestLevel, UnknownCommandQuotesTheLineReadably)
{
    auto t = LoadWithHeader({"Привет", ")x что-то"});
    ASSERT_EQ(t.messages.size(), 2u);
    EXPECT_EQ(t.messages[0].Text, S(kUnknownCommand) + "\r\nПривет");
    EXPECT_EQ(t.messages[0].Line, 4);
    EXPECT_EQ(t.messages[1].Text, S(kUnknownCommand) + "\r\n)x что-то");
}

TEST(ReaderTestLevel, IgnoredLinesAndCommentBlocks)
{
    auto t = LoadWithHeader({"", ")", ") c", "):", ")/ open", ")t 99", "anything", ")/", ")t 40"});
    EXPECT_TRUE(t.messages.empty());
    EXPECT_EQ(t.test->TestTime, 40);

    auto unclosed = LoadWithHeader({")/ open", ")t 99", ")*", ")?", "q"});
    EXPECT_TRUE(unclosed.messages.empty());
    EXPECT_EQ(unclosed.test->TestTime, 30);
    EXPECT_EQ(unclosed.test->Divisions.Count(), 0u);
}

TEST(ReaderTestLevel, LaterSettingWins)
{
    auto t = LoadWithHeader({")t 10", ")f AA", ")t 20", ")f BB"});
    EXPECT_EQ(t.test->TestTime, 20);
    EXPECT_EQ(t.test->LogFile, "BB");
}

TEST(ReaderRecognition, ThreeCommandLinesAmongTheFirst101)
{
    std::vector<std::string> lines = {"Title", ")t 10", ")f AB"};
    for (int i = 0; i < 98; ++i)
        lines.push_back("x");
    lines.push_back(") late");
    std::string text;
    for (auto& l : lines)
        text += l + "\r\n";
    auto notTest = LoadBytes(text);
    EXPECT_FALSE(notTest.isTestFile);
    EXPECT_EQ(notTest.Texts(), std::vector<std::string>{S(kNotATestFile)});
    EXPECT_EQ(notTest.messages[0].Line, 0);
    EXPECT_EQ(notTest.test->TestName, "Экзамен");

    lines[100] = ") within";
    text.clear();
    for (auto& l : lines)
        text += l + "\r\n";
    EXPECT_TRUE(LoadBytes(text).isTestFile);
    EXPECT_EQ(S(kNotATestFile), "Данный файл не является файлом теста тулимара v1.x.\r\n"
                                 "Возможно это файл теста тулимара v2.x,\r\n"
                                 "формат которого не поддерживается программой.");
}

// A line that never ends, as /dev/zero gives it, is not read whole.
TEST(ReaderRecognition, EndlessFirstLineIsNoTestFile)
{
    std::size_t given = 0;
    LineSource endless(
        [&given](char* into, std::size_t size) {
            std::fill(into, into + size, '\0');
            given += size;
            if (given > (std::size_t{64} << 20))
                throw std::length_error("read on and on");
            return size;
        },
        [&given] { given = 0; });
    mirvane::Test test;
    TestFileReader reader(test, {});
    EXPECT_FALSE(reader.LoadFile(endless));
}

// Its first lines already show a test file; one long line among them (a
// question of megabytes) makes it no less one.
TEST(ReaderRecognition, LongLineAfterTheHeaderKeepsATestFile)
{
    const std::string longText(std::size_t{5} << 20, 'x');
    auto loaded = LoadBytes(AnsiToOem("Название\r\n)t 15\r\n)*\r\n)?\r\n") + longText + "\r\n)! 1\r\nA\r\n");
    ASSERT_TRUE(loaded.isTestFile);
    EXPECT_EQ(loaded.test->Divisions.Item(1).Questions.Item(1).Q().size(), longText.size());
}

TEST(ReaderRecognition, EmptyAndTinyFilesAreNotTestFiles)
{
    EXPECT_FALSE(LoadBytes("").isTestFile);
    EXPECT_FALSE(LoadBytes(")\r\n)").isTestFile);
    EXPECT_FALSE(LoadBytes("\r\n\r\n\r\n").isTestFile);
}

TEST(ReaderLineEndings, LfAndLoneCrEndLinesToo)
{
    auto lf = LoadBytes(AnsiToOem("Название\n)t 15\n)*\n)?\nвопрос\n)! 1\nответ\n"));
    ASSERT_TRUE(lf.isTestFile);
    EXPECT_EQ(lf.test->TestName, "Название");
    EXPECT_EQ(lf.test->TestTime, 15);
    EXPECT_EQ(lf.test->Divisions.Item(1).Questions.Item(1).AGet(0), "ответ");

    auto cr = LoadBytes(AnsiToOem("Название\r)t 15\r)*\r)?\rвопрос\r"));
    EXPECT_EQ(cr.test->TestTime, 15);
    EXPECT_EQ(cr.test->Divisions.Item(1).Questions.Item(1).Q(), "вопрос");

    // CR LF counts as one ending, a CR followed by CR LF as two.
    auto mixed = LoadBytes(AnsiToOem("T\r\n)t 15\r\r\n)*\n)?\na\r\n\r\nb"));
    EXPECT_EQ(mixed.test->Divisions.Item(1).Questions.Item(1).Q(), "a\r\n\r\nb");
}

TEST(ReaderLineEndings, LastLineIsReadEvenWithoutTheClosingLine)
{
    auto t = LoadBytes(AnsiToOem("T\r\n)t 15\r\n)*\r\n)?\r\nвопрос\r\n)! 1\r\nпоследняя"));
    EXPECT_EQ(t.test->Divisions.Item(1).Questions.Item(1).AGet(0), "последняя");
    auto setting = LoadBytes(AnsiToOem("T\r\n) a\r\n) b\r\n)t 45"));
    EXPECT_EQ(setting.test->TestTime, 45);
}

TEST(ReaderLineEndings, FileEndingWhereALineIsExpected)
{
    auto afterMark0 = LoadBytes(AnsiToOem("T\r\n) a\r\n) b\r\n)<\r\n"));
    EXPECT_EQ(afterMark0.test->MarkDiscriptionsGet(0), "");
    EXPECT_TRUE(afterMark0.messages.empty());

    auto afterMark = LoadBytes(AnsiToOem("T\r\n) a\r\n) b\r\n)> 5"));
    EXPECT_EQ(afterMark.test->MarkDiscriptionsGet(1), "");

    auto afterDivision = LoadBytes(AnsiToOem("T\r\n) a\r\n) b\r\n)* 3"));
    ASSERT_EQ(afterDivision.test->Divisions.Count(), 1u);
    EXPECT_EQ(afterDivision.test->Divisions.Item(1).NQ, 3);
    EXPECT_EQ(afterDivision.test->Divisions.Item(1).Name, "Раздел 1");

    auto afterQuestion = LoadBytes(AnsiToOem("T\r\n) a\r\n) b\r\n)*\r\n)?"));
    EXPECT_EQ(afterQuestion.test->Divisions.Item(1).Questions.Count(), 1u);
}

TEST(ReaderRobustness, GarbageNeverThrows)
{
    std::uint32_t seed = 7;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    const char* pieces[] = {")", ")*", ")?", ")!", "):", ")/", ")<", ")>", ")t", ")f", ")@", ")\"", "\r\n", "\r", "\n",
                            " 99999", " -1", " x", "\xFF\x80", "\0", "7.5", " 25"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int n = static_cast<int>(next() % 80);
        for (int i = 0; i < n; ++i) {
            const auto k = next() % (sizeof pieces / sizeof pieces[0]);
            bytes += k == 19 ? std::string(1, '\0') : std::string(pieces[k]);
        }
        ASSERT_NO_THROW(LoadBytes(bytes)) << round;
    }
}

} // namespace
} // namespace mirvane::testing

namespace mirvane::testing {
namespace {

// Lines read from a file in blocks are the lines of the bytes held whole,
// whatever block boundary falls inside a line or between a CR and its LF.
TEST(ReaderInBlocks, GivesTheSameLinesAndTheSameTestAsTheWholeBytes)
{
    std::mt19937 random(866);
    const char pieces[] = {'a', 'b', ')', '?', '!', '*', ' ', '\r', '\n', '\xA0'};
    for (int round = 0; round < 300; ++round) {
        std::string bytes = round % 2 ? "T\r\n)t 30\r\n)<\r\n" : "";
        const std::size_t length = random() % 200;
        for (std::size_t i = 0; i < length; ++i)
            bytes += pieces[random() % sizeof pieces];
        for (std::size_t block : {1u, 2u, 3u, 7u, 64u}) {
            std::size_t at = 0;
            int restarts = 0;
            LineSource blocks(
                [&](char* into, std::size_t size) {
                    const std::size_t n = std::min(size, bytes.size() - at);
                    std::copy_n(bytes.data() + at, n, into);
                    at += n;
                    return n;
                },
                [&] {
                    at = 0;
                    ++restarts;
                },
                block);
            LineSource whole(bytes);
            std::string_view a, b;
            for (int pass = 0; pass < 2; ++pass) {
                bool more = true;
                while (more) {
                    more = whole.Next(a);
                    ASSERT_EQ(blocks.Next(b), more) << "round " << round << ", block " << block;
                    if (more) {
                        ASSERT_EQ(S(b), S(a)) << "line " << whole.LineNumber() << ", block " << block;
                    }
                    EXPECT_EQ(blocks.LineNumber(), whole.LineNumber());
                }
                whole.Rewind();
                blocks.Rewind();
            }
            EXPECT_EQ(restarts, 2);
        }
    }
}

TEST(ReaderInBlocks, AFileReadAsItGoesMakesTheSameTest)
{
    const std::string folder = (std::filesystem::temp_directory_path() /
                                ("mirvane-blocks-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/t.q";
    const std::string bytes = DosFile({"Тест", ")t 45", ")<", "Неуд", ")> 5", "Зачёт", ")* 1", "):Первый", ")?",
                                       "Вопрос", "в две строки", ")! 1", "да", ")!", "нет", ")* 2", ")?", "ещё"});
    ASSERT_FALSE(WriteFileReplacing(path, bytes).has_value());
    mirvane::Test streamed;
    TestFileReader reader(streamed, {});
    bool loaded = false;
    ASSERT_FALSE(ReadFileLines(path, [&](LineSource& source) { loaded = reader.LoadFile(source); }).has_value());
    ASSERT_TRUE(loaded);
    auto whole = LoadBytes(bytes);
    EXPECT_EQ(WriteTestFile(streamed, DocumentOrder::FromCollections(streamed)),
              WriteTestFile(*whole.test, DocumentOrder::FromCollections(*whole.test)));
    EXPECT_EQ(CollectChunks([&](const ChunkSink& sink) { WriteTestFileAsRead(streamed, sink); }),
              WriteTestFile(*whole.test, DocumentOrder::FromCollections(*whole.test)));

    const auto missing = ReadFileLines(folder + "/none.q", [](LineSource&) { FAIL() << "nothing to read"; });
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(missing.has_value());
    EXPECT_NE(missing->find("none.q"), std::string::npos);
}

} // namespace
} // namespace mirvane::testing
