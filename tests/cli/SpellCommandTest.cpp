#include "cli/Cli.h"
#include "model/CodePage.h"
#include "testfile/FileIo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mirvane {
namespace {

namespace fs = std::filesystem;

class SpellCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Each test its own folder: ctest runs them side by side.
        dir_ = fs::path(::testing::TempDir()) /
               ("mirvane-spell-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // The user's own dictionary is the test's, not the machine's.
        setenv("XDG_DATA_HOME", dir_.c_str(), 1);
        const std::string test = "Провекра знаний\n)t 20\n)< \nНезачот\n)> 5\nОтлично\n)* 1\n):Грамматикка\n)?\n"
                                 "Какое значение\nверно? Ошибкка\n)! 1\nПравильно\n)! 0\nНепровильно 12 x+y=3\n):\n";
        ASSERT_FALSE(WriteFileReplacing(Path("in.q"), AnsiToOem(test)).has_value());
    }
    void TearDown() override
    {
        unsetenv("XDG_DATA_HOME");
        unsetenv("MIRVANE_DICTIONARIES");
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    int Run(std::vector<std::string> args)
    {
        out_.str("");
        err_.str("");
        return RunCli(args, out_, err_);
    }
    // Each printed line up to its corrections.
    std::vector<std::string> Words() const
    {
        std::vector<std::string> words;
        std::istringstream lines(out_.str());
        for (std::string line; std::getline(lines, line);)
            words.push_back(line.substr(0, line.find(" → ")));
        return words;
    }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(SpellCommandTest, PrintsEachUnknownWordWithItsLineInFileOrder)
{
    if (fs::exists("/usr/share/hunspell/ru_RU.dic") == false)
        GTEST_SKIP() << "hunspell-ru is not installed";
    EXPECT_EQ(Run({"spell", Path("in.q")}), 1);
    const std::string in = Path("in.q");
    EXPECT_EQ(Words(), (std::vector<std::string>{in + ":1: «Провекра»", in + ":4: «Незачот»", in + ":8: «Грамматикка»",
                                                 in + ":11: «Ошибкка»", in + ":15: «Непровильно»"}));
    EXPECT_NE(out_.str().find(":11: «Ошибкка» → Ошибка"), std::string::npos) << out_.str();

    // A school's own terms, and the words the user added in the editor.
    std::ofstream(Path("terms.txt")) << "Провекра\nНезачот\r\n";
    fs::create_directories(dir_ / "mirvane");
    std::ofstream(dir_ / "mirvane" / "words.txt") << "Грамматикка\nОшибкка\nНепровильно\n";
    EXPECT_EQ(Run({"spell", "--dict", Path("terms.txt"), Path("in.q")}), 0);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(Run({"spell", "--dict", Path("none.txt"), Path("in.q")}), 2);
}

TEST_F(SpellCommandTest, WithoutTheDictionaryNothingIsCheckedAndThePackageIsNamed)
{
    setenv("MIRVANE_DICTIONARIES", dir_.c_str(), 1);
    EXPECT_EQ(Run({"spell", Path("in.q")}), 2);
    EXPECT_NE(err_.str().find("hunspell-ru"), std::string::npos);
}

} // namespace
} // namespace mirvane
