#include "TestSupport.h"

#include "cli/Cli.h"
#include "core/interchange/ZipWriter.h"
#include "testfile/FileIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <filesystem>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mirvane::testing {
// clang says AddressSanitizer through __has_feature, gcc through a macro.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIRVANE_CLANG_ASAN 1
#endif
#endif
#ifndef MIRVANE_CLANG_ASAN
#define MIRVANE_CLANG_ASAN 0
#endif

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
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::all);
        fs::remove_all(dir_);
    }

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
                              ": не файл теста: Данный файл не является файлом теста тулимара v1.x. Возможно это файл теста "
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
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2); // no temporary left
}

TEST_F(CliTest, FailedWriteLeavesTheOldFile)
{
    WriteBytes("in.q", "T\r\n) a\r\n) b\r\n) c\r\n");
    fs::create_directories(Path("target.q"));
    EXPECT_EQ(Run({"resave", Path("in.q"), Path("target.q")}), 2);
    EXPECT_TRUE(fs::is_directory(Path("target.q")));

    // A read-only file and a read-only folder, as a teacher without rights
    // to them meets them.
    WriteBytes("readonly.q", "old bytes");
    ::chmod(Path("readonly.q").c_str(), 0444);
    fs::create_directories(Path("locked"));
    ::chmod(Path("locked").c_str(), 0555);
    fs::permissions(dir_, fs::perms::all);
    int file = 0, folder = 0;
    std::string fileMessage, folderMessage;
    const bool ran = AsUnprivilegedUser([&] {
        file = Run({"resave", Path("in.q"), Path("readonly.q")});
        fileMessage = err_.str();
        folder = Run({"resave", Path("in.q"), Path("locked/out.q")});
        folderMessage = err_.str();
    });
    if (!ran)
        GTEST_SKIP() << "cannot take an unprivileged user's ids";
    EXPECT_EQ(file, 2);
    EXPECT_NE(fileMessage.find("нет права на запись в этот файл"), std::string::npos) << fileMessage;
    EXPECT_EQ(ReadBytes("readonly.q"), "old bytes");
    EXPECT_EQ(folder, 2);
    EXPECT_NE(folderMessage.find("нет права на запись в папку"), std::string::npos) << folderMessage;
}

TEST_F(CliTest, OutputsKeepPermissionsFollowLinksAndNeverReplaceTheirInput)
{
    // As the writer writes it, so that resaving it gives the same bytes.
    const std::string test = "T\r\n)t 30\r\n)\" 0\r\n)@ 0\r\n)f LOG.TXT\r\n)< \r\nX\r\n)* 1\r\n):D\r\n)?\r\nq\r\n):\r\n";
    WriteBytes("geo.q", test);
    WriteBytes("private.q", "secret");
    ::chmod(Path("private.q").c_str(), 0600);
    EXPECT_EQ(Run({"resave", Path("geo.q"), Path("private.q")}), 0);
    struct stat st {};
    ::stat(Path("private.q").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    WriteBytes("page.htm", "old page");
    fs::create_symlink("page.htm", Path("link.htm"));
    EXPECT_EQ(Run({"html", Path("geo.q"), Path("link.htm")}), 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.htm")));
    EXPECT_EQ(ReadBytes("page.htm").substr(0, 6), "<HTML>");

    // An export onto its own input is refused before anything is written,
    // however the output is spelt; resaving a test onto itself is allowed.
    const std::string other = (dir_ / ".." / dir_.filename() / "geo.q").string();
    for (const char* command : {"html", "text"}) {
        EXPECT_EQ(Run({command, Path("geo.q"), other}), 2) << command;
        EXPECT_NE(err_.str().find("экспорт в него не выполнен"), std::string::npos) << err_.str();
        EXPECT_EQ(ReadBytes("geo.q"), test);
    }
    EXPECT_EQ(Run({"resave", Path("geo.q"), Path("geo.q")}), 0);
    EXPECT_EQ(ReadBytes("geo.q"), test);
}

// The real program under a file-size limit: its write fails instead of the
// program being killed, and no temporary file is left behind.
TEST_F(CliTest, ProgramUnderAFileSizeLimitLeavesTheOldFileAndNoTemporary)
{
    WriteBytes("in.q", AnsiToOem("T\r\n)t 30\r\n) a\r\n) b\r\n)* 1\r\n)?\r\n" + std::string(5000, 'x') + "\r\n):\r\n"));
    WriteBytes("old.q", "old bytes");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 2);
        ::execl(MIRVANE_CLI, MIRVANE_CLI, "resave", Path("in.q").c_str(), Path("old.q").c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(ReadBytes("old.q"), "old bytes");
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"in.q", "old.q"}));
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
    EXPECT_NE(err_.str().find(Path("c.txt") + ": не файл теста: Данный файл"), std::string::npos);
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

namespace mirvane::testing {
namespace {

TEST_F(CliTest, HelpVersionAndUsageErrorsSayWhatWasWrong)
{
    for (const char* flag : {"--help", "-h"}) {
        EXPECT_EQ(Run({flag}), 0);
        EXPECT_NE(out_.str().find("mirvane-cli resave"), std::string::npos);
        EXPECT_TRUE(err_.str().empty());
    }
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out_.str(), "mirvane-cli 1.0.0.12\n");

    const std::pair<std::vector<std::string>, std::string> errors[] = {
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"text", "a.q", "b.txt", "--content", "7"}, "--content takes 0, 1, 2 or 3"},
        {{"text", "a.q", "b.txt", "--codepage", "koi8"}, "--codepage takes oem, ansi or utf-8"},
        {{"html", "a.q"}, "html takes an input and an output file"},
        {{}, "no command given"},
    };
    for (const auto& [args, problem] : errors) {
        EXPECT_EQ(Run(args), 2) << problem;
        EXPECT_EQ(err_.str().rfind("mirvane-cli: " + problem + "\n", 0), 0u) << err_.str();
        EXPECT_NE(err_.str().find("Использование:"), std::string::npos);
    }
}

TEST_F(CliTest, CheckTakesFoldersInNameOrder)
{
    const std::string clean = "T\r\n)t 30\r\n)<\r\nНе сдан\r\n)> 5\r\nСдан\r\n)* 1\r\n):D\r\n)?\r\nq\r\n)! 1\r\nда\r\n"
                              ")! 0\r\nнет\r\n):\r\n";
    fs::create_directories(Path("tests/deeper"));
    WriteBytes("tests/b.q", AnsiToOem(clean));
    WriteBytes("tests/a.q", AnsiToOem("T\r\n)t 30\r\n)<\r\nНе сдан\r\n):\r\n"));
    WriteBytes("tests/notes.txt", "not a test");
    WriteBytes("tests/deeper/c.q", AnsiToOem(clean));
    EXPECT_EQ(Run({"check", Path("tests")}), 1);
    const std::string a = Path("tests/a.q") + ": marks: ";
    const std::string b = Path("tests/b.q") + ": Проверка закончена.";
    EXPECT_EQ(out_.str().find(a), 0u) << out_.str();
    EXPECT_NE(out_.str().find(b), std::string::npos);
    EXPECT_EQ(out_.str().find("c.q"), std::string::npos);
    EXPECT_EQ(Run({"check", "-r", Path("tests")}), 1);
    EXPECT_NE(out_.str().find(Path("tests/deeper/c.q") + ": "), std::string::npos);
}

} // namespace
} // namespace mirvane::testing

namespace mirvane::testing {
namespace {

TEST_F(CliTest, EncodingOfTheInput)
{
    const std::string utf8 = "Химия\r\n)t 30\r\n)<\r\nНеуд\r\n):\r\n";
    WriteBytes("utf8.q", utf8);
    for (const char* encoding : {"auto", "utf-8"}) {
        EXPECT_EQ(Run({"resave", "--encoding", encoding, Path("utf8.q"), Path("out.q")}), 0) << encoding;
        EXPECT_EQ(ReadBytes("out.q").substr(0, 7), AnsiToOem("Химия\r\n"));
    }
    WriteBytes("1251.q", CodePage::Windows().Encode(utf8));
    EXPECT_EQ(Run({"resave", Path("1251.q"), Path("out.q"), "--encoding", "cp1251"}), 0);
    EXPECT_EQ(ReadBytes("out.q").substr(0, 7), AnsiToOem("Химия\r\n"));
    EXPECT_EQ(Run({"resave", Path("1251.q"), Path("out.q")}), 0); // cp866 by default: bytes as they are
    EXPECT_EQ(ReadBytes("out.q").substr(0, 7), CodePage::Windows().Encode("Химия\r\n"));
    EXPECT_EQ(Run({"resave", "--encoding", "koi8-r", Path("1251.q"), Path("out.q")}), 2);
    EXPECT_EQ(err_.str().rfind("mirvane-cli: --encoding takes auto, cp866, utf-8 or cp1251\n", 0), 0u);
}

TEST_F(CliTest, CheckAllPrintsEveryFindingWithItsLineInFileOrder)
{
    std::string lines[] = {
        "Все ошибки",             // 1
        ")<", " ",                // 2: no failing mark
        ")> 5", "Сдан",           // 4
        ")> 5", "Хорошо",         // 6: the same score again
        ")* 25",                  // 8: asks more than it has
        ")?", "один ответ",       // 9
        ")! 1", "да",
        ")* 1",                   // 13: empty
        ")* 1",                   // 14
        ")?", "два лучших",       // 15
        ")! 1", "а", ")! 1", "б",
        ")?",                     // 21: too many lines
    };
    std::string file;
    for (const std::string& line : lines)
        file += line + "\r\n";
    for (int i = 0; i < 18; ++i)
        file += "строка\r\n";
    file += ")! 1\r\nа\r\n)! 0\r\nб\r\n):\r\n";
    WriteBytes("all.q", AnsiToOem(file));
    // Rule 3 needs two marks in use, so the other file lacks them.
    WriteBytes("marks.q", AnsiToOem("T\r\n)t 30\r\n)<\r\nНе сдан\r\n)* 1\r\n)?\r\nq\r\n)! 1\r\nx\r\n)! 0\r\ny\r\n):\r\n"));

    EXPECT_EQ(Run({"check", "--all", "--no-warn", "all", Path("all.q"), Path("marks.q")}), 1);
    const std::string all = Path("all.q");
    EXPECT_EQ(out_.str(), all + ":1: Попытка задать более 25 вопросов !!! Попробуйте уменьшить число задаваемых "
                                "вопросов по разделам.\n" +
                              all + ":2: Не задана минимальная оценка!!!\n" +
                              all + ":6: В тесте присутствуют оценки с одинаковым числом баллов!!!\n" +
                              all + ":8: Попытка задать болше вопросов, чем присутствует в разделе!!!\n" +
                              all + ":9: Менее двух вариантов ответа на вопрос !!!\n" +
                              all + ":13: В тесте присутствует пустой раздел!!!\n" +
                              all + ":13: Попытка задать болше вопросов, чем присутствует в разделе!!!\n" +
                              all + ":15: Более одного варианта ответа с максисмальной оценкой !!!\n" +
                              all + ":21: Вопрос занимает более 17 строк!!!\n" +
                              Path("marks.q") + ":3: В тесте менее двух вариантов оценки!!!\n");
    // Without --all, the first finding as before.
    EXPECT_EQ(Run({"check", Path("all.q")}), 1);
    EXPECT_EQ(out_.str(), "marks: Не задана минимальная оценка!!!\n");
}

TEST_F(CliTest, CheckAllMarksWarningsAndFailsOnlyOnErrors)
{
    WriteBytes("twice.q", AnsiToOem("T\r\n)<\r\nНе сдан\r\n)> 1\r\nСдан\r\n)* 1\r\n)?\r\nДва плюс два?\r\n)! 1\r\n4\r\n"
                                    ")! 0\r\n5\r\n)?\r\nдва ПЛЮС два?\r\n)! 1\r\n4\r\n)! 0\r\n3\r\n):\r\n"));
    EXPECT_EQ(Run({"check", "--all", Path("twice.q")}), 0);
    EXPECT_EQ(out_.str(), Path("twice.q") + ":13: предупреждение: тот же вопрос, что в строке 7\n");
    EXPECT_EQ(Run({"check", Path("twice.q"), "--all", "--no-warn", "same-question"}), 0);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(Run({"check", "--all", "--no-warn", "typos", Path("twice.q")}), 2);
    EXPECT_EQ(err_.str().rfind("mirvane-cli: unknown warning 'typos'\n", 0), 0u);
}

} // namespace
} // namespace mirvane::testing

namespace mirvane::testing {
namespace {

// The real program in a child, its output gathered; `prepare` runs in the
// child first (limits, standard output).
struct Ran {
    int status = -1;
    std::string err;
};
Ran RunProgram(const std::vector<std::string>& args, const std::function<void()>& prepare = {})
{
    int errPipe[2];
    if (::pipe(errPipe) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(errPipe[1], 2);
        ::close(errPipe[0]);
        if (prepare)
            prepare();
        std::vector<char*> argv{const_cast<char*>(MIRVANE_CLI)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(MIRVANE_CLI, argv.data());
        ::_exit(127);
    }
    ::close(errPipe[1]);
    Ran ran;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(errPipe[0], buffer, sizeof buffer)) > 0)
        ran.err.append(buffer, static_cast<std::size_t>(n));
    ::close(errPipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return ran;
}

// However large or strange, an input ends in a message and status 2 under
// the memory limit a careful administrator sets.
TEST_F(CliTest, HugeAndStrangeInputsAreRefusedUnderAMemoryLimit)
{
    const std::string sparse = Path("sparse.q");
    WriteBytes("sparse.q", "");
    ASSERT_EQ(::truncate(sparse.c_str(), std::int64_t{20} << 30), 0);
    WriteBytes("test-then-zeros.q", "T\r\n)\r\n)\r\n)\r\n"); // recognised, then a line of 20 GB
    ASSERT_EQ(::truncate(Path("test-then-zeros.q").c_str(), std::int64_t{20} << 30), 0);
    auto limited = [] {
#if defined(__SANITIZE_ADDRESS__) || MIRVANE_CLANG_ASAN
        // AddressSanitizer reserves terabytes of address space for its shadow
        // and cannot start under such a limit: there the program's own caps
        // (the memory free, the zero byte, the first line) are tried alone.
        return;
#endif
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = rlim_t{4000000} * 1024;
        ::setrlimit(RLIMIT_AS, &limit);
    };
    const std::vector<std::vector<std::string>> runs = {
        {"check", "/dev/zero"},
        {"check", sparse},
        {"check", Path("test-then-zeros.q")},
        {"resave", "--encoding", "auto", sparse, Path("out.q")},
        {"import", "--from", "gift", "/dev/zero", Path("out.q")},
    };
    for (const auto& args : runs) {
        const Ran ran = RunProgram(args, limited);
        EXPECT_EQ(ran.status, 2) << args[1] << ' ' << args.back() << ": " << ran.err;
        EXPECT_TRUE(ran.err.find("не файл теста") != std::string::npos ||
                    ran.err.find("файл слишком велик") != std::string::npos)
            << ran.err;
    }
    EXPECT_FALSE(fs::exists(Path("out.q")));
}

// An import that may be a document (a zip archive) is still refused at the
// first block of a stream that is neither an archive nor text, not when the
// memory runs out.
TEST_F(CliTest, EndlessBinaryStreamIsNoImport)
{
    for (const char* from : {"auto", "docx", "odt"}) {
        for (const char* device : {"/dev/zero", "/dev/urandom"}) {
            const Ran ran = RunProgram({"import", "--from", from, device, Path("out.q")}, [] {
#if !(defined(__SANITIZE_ADDRESS__) || MIRVANE_CLANG_ASAN)
                // Unlimited, a failing run would take all the memory there is.
                struct rlimit limit {};
                limit.rlim_cur = limit.rlim_max = rlim_t{4000000} * 1024;
                ::setrlimit(RLIMIT_AS, &limit);
#endif
            });
            EXPECT_EQ(ran.status, 2) << from << ' ' << device;
            EXPECT_NE(ran.err.find("двоичные данные"), std::string::npos) << from << ' ' << device << ": " << ran.err;
        }
    }
    EXPECT_FALSE(fs::exists(Path("out.q")));
}

// A report that could not be written is no success: a script would take the
// missing lines for a test without findings.
TEST_F(CliTest, AnUnwritableStandardOutputFailsTheRun)
{
    WriteBytes("in.q", "T\r\n)t 1\r\n)*\r\n)?\r\nq\r\n)! 1\r\nA\r\n)! 0\r\nB\r\n");
    const std::vector<std::vector<std::string>> runs = {
        {"check", Path("in.q")},
        {"check", "--all", "--format", "json", Path("in.q")},
        {"stats", Path("in.q")},
    };
    for (const auto& args : runs) {
        const Ran ran = RunProgram(args, [] {
            const int full = ::open("/dev/full", O_WRONLY);
            ::dup2(full, 1);
        });
        EXPECT_EQ(ran.status, 2) << args[0] << ' ' << args[1];
        EXPECT_NE(ran.err.find("недостаточно места"), std::string::npos) << ran.err;
    }
}

TEST_F(CliTest, StandardOutputIsWrittenAsTheShellOpenedIt)
{
    WriteBytes("in.q", "T\r\n) a\r\n) b\r\n) c\r\n");
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const Ran piped = RunProgram({"html", Path("in.q"), "/dev/stdout"}, [&] { ::dup2(pipeEnds[1], 1); });
    ::close(pipeEnds[1]);
    char head[6] = {};
    EXPECT_EQ(::read(pipeEnds[0], head, sizeof head), 6);
    ::close(pipeEnds[0]);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(std::string(head, 6), "<HTML>");

    WriteBytes("log.txt", "before\n");
    const Ran appended = RunProgram({"html", Path("in.q"), "/dev/stdout"}, [&] {
        ::dup2(::open(Path("log.txt").c_str(), O_WRONLY | O_APPEND), 1);
    });
    EXPECT_EQ(appended.status, 0) << appended.err;
    EXPECT_EQ(ReadBytes("log.txt").substr(0, 13), "before\n<HTML>");
}

TEST_F(CliTest, OptionsStandAnywhereAndNamesFollowTheDoubleDash)
{
    WriteBytes("in.q", "T\r\n) a\r\n) b\r\n) c\r\n");
    const fs::path was = fs::current_path();
    fs::current_path(dir_);
    EXPECT_EQ(Run({"resave", "in.q", "--help"}), 0);
    EXPECT_NE(out_.str().find("Использование:"), std::string::npos);
    EXPECT_FALSE(fs::exists("--help"));
    EXPECT_EQ(Run({"resave", "in.q", "-dash.q"}), 2);
    EXPECT_EQ(err_.str().rfind("mirvane-cli: unknown option '-dash.q'\n", 0), 0u) << err_.str();
    EXPECT_EQ(Run({"resave", "--", "in.q", "-dash.q"}), 0) << err_.str();
    EXPECT_EQ(Run({"text", "--", "-dash.q", "--content"}), 0) << err_.str();
    EXPECT_TRUE(fs::exists("--content"));
    EXPECT_EQ(Run({"check", ".", "-r"}), 1) << err_.str();
    EXPECT_NE(out_.str().find("./-dash.q: "), std::string::npos) << out_.str();
    EXPECT_EQ(Run({"html", "in.q", "out.htm", "--force"}), 2);
    EXPECT_NE(err_.str().find("html takes no option --force"), std::string::npos) << err_.str();
    fs::current_path(was);
}

TEST_F(CliTest, ImportNeverReplacesItsOwnSource)
{
    const std::string gift = "Сколько будет 2+2? {=4 ~5}\n";
    WriteBytes("q.gift", gift);
    EXPECT_EQ(Run({"import", "--from", "gift", Path("q.gift"), Path("q.gift"), "--force"}), 2);
    EXPECT_NE(err_.str().find("импорт в него не выполнен"), std::string::npos) << err_.str();
    EXPECT_EQ(ReadBytes("q.gift"), gift);
    WriteBytes("other.q", "old");
    EXPECT_EQ(Run({"import", "--from", "gift", Path("q.gift"), Path("other.q"), "--force"}), 0) << err_.str();
}

TEST_F(CliTest, ADocumentImportsAndItsMarkedTextExportImportsAlike)
{
    WriteBytes("вопросы.docx",
               DocxBytes("<w:p><w:r><w:t>1. Сколько будет 2+2?</w:t></w:r></w:p>"
                         "<w:p><w:r><w:drawing/></w:r></w:p>"
                         "<w:p><w:r><w:t>а) три</w:t></w:r></w:p>"
                         "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>б) четыре</w:t></w:r></w:p>"));
    EXPECT_EQ(Run({"import", "--from", "auto", Path("вопросы.docx"), Path("a.q")}), 0) << err_.str();
    EXPECT_EQ(err_.str(), Path("вопросы.docx") + ": абзац 2: рисунок не перенесён\n");
    fs::create_directories(dir_ / "sub");
    EXPECT_EQ(Run({"export", "--to", "text", Path("a.q"), Path("sub/вопросы.txt")}), 0) << err_.str();
    EXPECT_EQ(Run({"import", "--from", "text", Path("sub/вопросы.txt"), Path("b.q")}), 0) << err_.str();
    EXPECT_EQ(ReadBytes("b.q"), ReadBytes("a.q"));

    WriteBytes("broken.odt", ReadBytes("вопросы.docx").substr(0, 100));
    EXPECT_EQ(Run({"import", "--from", "odt", Path("broken.odt"), Path("c.q")}), 2);
    EXPECT_EQ(err_.str(), Path("broken.odt") + ": архив документа повреждён: его не удаётся открыть\n");
}

TEST_F(CliTest, UnreadableFoldersAreReportedAndTheRestIsChecked)
{
    fs::create_directories(Path("tests/locked"));
    WriteBytes("tests/a.q", AnsiToOem(kCleanTest));
    ::chmod(Path("tests/locked").c_str(), 0);
    int recursive = 0, single = 0;
    std::string recursiveErr, recursiveOut, singleErr;
    const bool ran = AsUnprivilegedUser([&] {
        recursive = Run({"check", "-r", Path("tests")});
        recursiveErr = err_.str();
        recursiveOut = out_.str();
        single = Run({"check", Path("tests/locked")});
        singleErr = err_.str();
    });
    if (!ran)
        GTEST_SKIP() << "cannot take an unprivileged user's ids";
    const std::string reason = "Не удалось прочитать папку «" + Path("tests/locked") + "»: нет доступа\n";
    EXPECT_EQ(recursive, 2);
    EXPECT_EQ(recursiveErr, reason);
    EXPECT_NE(recursiveOut.find(Path("tests/a.q") + ": "), std::string::npos) << recursiveOut;
    EXPECT_EQ(single, 2);
    EXPECT_EQ(singleErr, reason);
}

TEST_F(CliTest, ControlCharactersFromFilesNeverReachTheTerminal)
{
    WriteBytes("in.q", "T\r\n) a\r\n) b\r\n) c\r\n\x1b]0;owned\x07\x1b[2J\r\n) d\r\n");
    EXPECT_EQ(Run({"resave", Path("in.q"), Path("out.q")}), 0);
    EXPECT_EQ(err_.str(), Path("in.q") + ":5: Ошибка - Неопознанная команда!!! \\x1b]0;owned\\x07\\x1b[2J\n");
}

} // namespace
} // namespace mirvane::testing

namespace mirvane::testing {
namespace {

// Interrupted while the PDF module writes, the tool leaves no temporary file.
TEST_F(CliTest, InterruptedPdfExportLeavesNoTemporary)
{
    if (!fs::exists(fs::path(MIRVANE_CLI).parent_path() / "mirvane-pdf.so"))
        GTEST_SKIP() << "built without the PDF module";
    WriteBytes("in.q", AnsiToOem(kCleanTest));
    fs::create_directories(Path("out"));
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::setenv("LD_PRELOAD", STUCK_FSYNC, 1);
        ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 2);
        ::execl(MIRVANE_CLI, MIRVANE_CLI, "export", "--to", "pdf", Path("in.q").c_str(), Path("out/sheet.pdf").c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // The write waits in its flush once the temporary file is there.
    bool seen = false;
    for (int i = 0; i < 600 && !seen; ++i) {
        seen = fs::directory_iterator(Path("out")) != fs::directory_iterator();
        if (!seen)
            ::usleep(50000);
    }
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(seen) << "no temporary file appeared";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
    EXPECT_EQ(fs::directory_iterator(Path("out")), fs::directory_iterator());
}

} // namespace
} // namespace mirvane::testing
