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

} // namespace
} // namespace mirvane::testing
