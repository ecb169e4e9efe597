#include "TestSupport.h"

#include "cli/Cli.h"
#include "testfile/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace mirvane::testing {
namespace {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("mirvane-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    void WriteBytes(const std::string& name, const std::string& bytes) const
    {
        ASSERT_FALSE(WriteFileReplacing(Path(name), bytes).has_value());
    }

    std::string ReadBytes(const std::string& name) const
    {
        std::string bytes;
        EXPECT_FALSE(ReadFileBytes(Path(name), bytes).has_value());
        return bytes;
    }

    int Run(std::vector<std::string> args)
    {
        out_.str("");
        err_.str("");
        return RunCli(args, out_, err_);
    }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(CliTest, ResaveWritesTheTestInTheOrderRead)
{
    WriteBytes("in.q", AnsiToOem("Тест\n)t 20\n)* 1\n):Раздел\n)?\nВопрос\n)! 1\nда\n)! 0\nнет\n"));
    EXPECT_EQ(Run({"resave", Path("in.q"), Path("out.q")}), 0);
    EXPECT_EQ(err_.str(), "");
    EXPECT_EQ(ReadBytes("out.q"), AnsiToOem("Тест\r\n)t 20\r\n)\" 0\r\n)@ 0\r\n)f LOG.TXT\r\n)< \r\n"
                                            "Экзамен не сдан\r\n)* 1\r\n):Раздел\r\n)?\r\nВопрос\r\n"
                                            ")! 1\r\nда\r\n)! 0\r\nнет\r\n):\r\n"));
    // Resaving the result changes nothing.
    EXPECT_EQ(Run({"resave", Path("out.q"), Path("again.q")}), 0);
    EXPECT_EQ(ReadBytes("again.q"), ReadBytes("out.q"));
}

TEST_F(CliTest, ReaderMessagesGoToStandardErrorWithTheirLines)
{
    WriteBytes("in.q", AnsiToOem("T\r\n)t abc\r\n)* 1\r\n)?\r\nq\r\n)! 1\r\na\r\n) end\r\nжуть\r\n"));
    EXPECT_EQ(Run({"resave", Path("in.q"), Path("out.q")}), 0);
    EXPECT_EQ(err_.str(), Path("in.q") + ":2: Ошибка при попытку считать время теста\n");

    WriteBytes("in2.q", AnsiToOem("T\r\n) a\r\n) b\r\n) c\r\nжуть\r\n"));
    EXPECT_EQ(Run({"resave", Path("in2.q"), Path("out2.q")}), 0);
    EXPECT_EQ(err_.str(), Path("in2.q") + ":5: Ошибка - Неопознанная команда!!! жуть\n");
}

TEST_F(CliTest, NotATestFileIsReportedAndNothingIsWritten)
{
    WriteBytes("plain.txt", "just\r\ntext\r\n");
    EXPECT_EQ(Run({"resave", Path("plain.txt"), Path("out.q")}), 2);
    EXPECT_EQ(err_.str(), Path("plain.txt") +
                              ": Данный файл не является файлом теста тулимара v1.x. Возможно это файл теста "
                              "тулимара v2.x, формат которого не поддерживается программой.\n");
    EXPECT_FALSE(fs::exists(Path("out.q")));

    WriteBytes("empty.q", "");
    EXPECT_EQ(Run({"resave", Path("empty.q"), Path("out.q")}), 2);
    EXPECT_FALSE(fs::exists(Path("out.q")));
}

TEST_F(CliTest, UsageAndFileErrors)
{
    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(err_.str().find("mirvane-cli resave"), std::string::npos);
    EXPECT_EQ(Run({"resave", Path("in.q")}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);

    EXPECT_EQ(Run({"resave", Path("missing.q"), Path("out.q")}), 2);
    EXPECT_NE(err_.str().find(Path("missing.q")), std::string::npos);

    WriteBytes("in.q", "T\r\n) a\r\n) b\r\n) c\r\n");
    EXPECT_EQ(Run({"resave", Path("in.q"), Path("no/such/dir/out.q")}), 2);
    EXPECT_NE(err_.str().find("no/such/dir/out.q"), std::string::npos);
}

TEST_F(CliTest, WriteCutShortByAFullDiskLeavesTheOldFile)
{
    // A file size limit makes writes beyond 64 bytes fail, as a full disk
    // would, even for root.
    WriteBytes("in.q", AnsiToOem(std::string("T\r\n)t 30\r\n) a\r\n) b\r\n)*\r\n)?\r\n") + std::string(300, 'x')));
    WriteBytes("old.q", "old bytes");
    int status = 0;
    WithFileSizeLimit(64, [&] { status = Run({"resave", Path("in.q"), Path("old.q")}); });
    EXPECT_EQ(status, 2);
    EXPECT_NE(err_.str().find(Path("old.q")), std::string::npos);
    EXPECT_EQ(ReadBytes("old.q"), "old bytes");
    EXPECT_FALSE(fs::exists(Path("old.q.mirvane-tmp")));
}

TEST_F(CliTest, FailedWriteLeavesTheOldFile)
{
    WriteBytes("in.q", "T\r\n) a\r\n) b\r\n) c\r\n");
    fs::create_directories(Path("target.q"));
    EXPECT_EQ(Run({"resave", Path("in.q"), Path("target.q")}), 2);
    EXPECT_TRUE(fs::is_directory(Path("target.q")));

    WriteBytes("old.q", "old bytes");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    const bool writable = !WriteFileReplacing(Path("probe"), "x").has_value();
    if (!writable) { // root ignores directory permissions
        EXPECT_EQ(Run({"resave", Path("in.q"), Path("old.q")}), 2);
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_EQ(ReadBytes("old.q"), "old bytes");
    }
    fs::permissions(dir_, fs::perms::owner_all);
}

const char* const kCleanTest = "T\r\n)t 30\r\n)<\r\nНе сдан\r\n)> 5\r\nСдан\r\n)* 1\r\n):D\r\n)?\r\nq\r\n"
                               ")! 1\r\nда\r\n)! 0\r\nнет\r\n";

TEST_F(CliTest, CheckReportsTheFirstFindingAndWhereItLies)
{
    WriteBytes("clean.q", AnsiToOem(kCleanTest));
    EXPECT_EQ(Run({"check", Path("clean.q")}), 0);
    EXPECT_EQ(out_.str(), "Проверка закончена. Ошибок в структуре теста не обнаружено\n");

    WriteBytes("marks.q", AnsiToOem("T\r\n)t 30\r\n) c\r\n)<\r\nНе сдан\r\n"));
    EXPECT_EQ(Run({"check", Path("marks.q")}), 1);
    EXPECT_EQ(out_.str(), "marks: В тесте менее двух вариантов оценки!!!\n");

    WriteBytes("question.q", AnsiToOem(std::string(kCleanTest) + ")* 1\r\n)?\r\nодин\r\n)! 1\r\nx\r\n)?\r\nдва\r\n"
                                                                   ")! 1\r\nx\r\n"));
    EXPECT_EQ(Run({"check", Path("question.q")}), 1);
    EXPECT_EQ(out_.str(), "division 2, question 1: Менее двух вариантов ответа на вопрос !!!\n");

    WriteBytes("many.q", AnsiToOem("T\r\n)t 30\r\n)<\r\nНе сдан\r\n)> 5\r\nСдан\r\n)* 20\r\n)?\r\nq\r\n)! 1\r\nx\r\n"));
    EXPECT_EQ(Run({"check", Path("many.q")}), 1);
    EXPECT_EQ(out_.str(), "division 1: Попытка задать болше вопросов, чем присутствует в разделе!!!\n");
}

TEST_F(CliTest, CheckManyFilesPrefixesEachResult)
{
    WriteBytes("a.q", AnsiToOem(kCleanTest));
    WriteBytes("b.q", AnsiToOem("T\r\n)t 30\r\n)<\r\n \r\n)> 1\r\nx\r\n"));
    WriteBytes("c.txt", "not a test\r\n");
    EXPECT_EQ(Run({"check", Path("a.q"), Path("b.q")}), 1);
    EXPECT_EQ(out_.str(), Path("a.q") + ": Проверка закончена. Ошибок в структуре теста не обнаружено\n" + Path("b.q") +
                              ": marks: Не задана минимальная оценка!!!\n");
    EXPECT_EQ(Run({"check", Path("c.txt"), Path("a.q"), Path("missing.q")}), 2);
    EXPECT_EQ(out_.str(), Path("a.q") + ": Проверка закончена. Ошибок в структуре теста не обнаружено\n");
    EXPECT_NE(err_.str().find(Path("c.txt") + ": Данный файл"), std::string::npos);
    EXPECT_NE(err_.str().find(Path("missing.q")), std::string::npos);
    EXPECT_EQ(Run({"check"}), 2);
}

TEST_F(CliTest, HtmlTakesTheJournalNameFromTheOutput)
{
    WriteBytes("in.q", AnsiToOem(kCleanTest));
    EXPECT_EQ(Run({"html", Path("in.q"), Path("physics.htm")}), 0);
    const std::string page = CodePage::Windows().Decode(ReadBytes("physics.htm"));
    EXPECT_EQ(page.substr(0, 8), "<HTML>\r\n");
    EXPECT_NE(page.find("<LOG file=\"physics.h.htm\">\r\n"), std::string::npos);
    EXPECT_NE(page.find("<MARK  score=\"5\">Сдан</mark>\r\n"), std::string::npos);
    EXPECT_EQ(Run({"html", Path("in.q")}), 2);
}

TEST_F(CliTest, TextExportOptions)
{
    WriteBytes("in.q", AnsiToOem(kCleanTest));
    EXPECT_EQ(Run({"text", Path("in.q"), Path("out.txt")}), 0);
    EXPECT_EQ(CodePage::Windows().Decode(ReadBytes("out.txt")),
              "\r\nT\r\n\r\nВремя тестирования (минут) - 30\r\n\r\n=== D ===\r\n\r\nq\r\n");
    EXPECT_EQ(Run({"text", Path("in.q"), Path("oem.txt"), "--codepage", "oem", "--content", "3"}), 0);
    EXPECT_EQ(OemToAnsi(ReadBytes("oem.txt")), "\r\nT\r\n\r\nВремя тестирования (минут) - 30\r\n\r\n=== D ===\r\n"
                                               "\r\nВопрос:\r\nq\r\nОтвет*1: да\r\nОтвет 2: нет\r\n");
    EXPECT_EQ(Run({"text", Path("in.q"), Path("x.txt"), "--content", "4"}), 2);
    EXPECT_EQ(Run({"text", Path("in.q"), Path("x.txt"), "--codepage", "koi8"}), 2);
    EXPECT_EQ(Run({"text", Path("in.q"), Path("x.txt"), "--bogus"}), 2);
    EXPECT_FALSE(fs::exists(Path("x.txt")));
}

} // namespace
} // namespace mirvane::testing
