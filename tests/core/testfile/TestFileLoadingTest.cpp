#include "TestSupport.h"

#include "model/Test.h"
#include "testfile/SourceLines.h"
#include "testfile/TestFileLoading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace mirvane::testing {
namespace {

namespace fs = std::filesystem;

class TestFileLoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("mirvane-loading-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Loads with every reader message kept.
    mirvane::LoadedTestFile Load(const std::string& path, TestFileLoading how = {})
    {
        how.Messages = [this](const ReaderMessage& m) { messages_.push_back(m); };
        return LoadTestFile(path, how);
    }

    fs::path dir_;
    std::vector<ReaderMessage> messages_;
};

// The same test in UTF-8, as another text editor saves it.
const std::string kUtf8Test = "Контрольная\r\n)t 20\r\n)* 1\r\n)? Столица?\r\n)+1 Москва\r\n";

TEST_F(TestFileLoadingTest, ATestFileGivesItsTestAndTheMessagesAboutItsLines)
{
    const std::string path =
        Write("good.q", DosFile({"Контрольная", ")t 20", ")t x", ")* 1", ")? Вопрос", ")+1 Да", ")-0 Нет"}));
    SourceLines lines;
    TestFileLoading how;
    how.Lines = &lines;
    const auto loaded = Load(path, how);

    ASSERT_FALSE(loaded.Error) << loaded.Error->Message;
    EXPECT_EQ(loaded.Read->TestName, "Контрольная");
    ASSERT_EQ(loaded.Read->Divisions.Count(), 1u);
    EXPECT_EQ(loaded.Read->Divisions.begin()->Questions.Count(), 1u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].Line, 3);
    EXPECT_EQ(messages_[0].Text, reader_text::kBadTime);
    EXPECT_EQ(lines.Divisions, std::vector<std::int64_t>{4});
}

TEST_F(TestFileLoadingTest, AFileThatIsNoTestIsAnErrorNotAMessage)
{
    const std::string path = Write("notes.q", "просто текст\r\nи ещё строка\r\n");
    for (const auto encoding : {std::optional<TextEncoding>(TextEncoding::Cp866), std::optional<TextEncoding>()}) {
        messages_.clear();
        TestFileLoading how;
        how.Encoding.Encoding = encoding;
        const auto loaded = Load(path, how);
        ASSERT_TRUE(loaded.Error);
        EXPECT_EQ(loaded.Error->Refusal, ReadRefusal::NotATestFile);
        EXPECT_EQ(loaded.Error->Message, reader_text::kNotATestFile);
        EXPECT_TRUE(messages_.empty());
        ASSERT_TRUE(loaded.Read);
        EXPECT_EQ(loaded.Read->Divisions.Count(), 0u);
    }
}

TEST_F(TestFileLoadingTest, EachRefusedFileIsNamedWithItsCauseAndLeavesTheEmptyTest)
{
    const std::string missing = (dir_ / "нет.q").string();
    const std::string large = Write("large.q", DosFile({"T", ")t 20", ")* 1", ")? Вопрос", ")+1 Да"}));
    const std::string binary = Write("binary.q", std::string("T\r\n)\0\r\n)\r\n)\r\n", 13));
    TestFileLoading streamedSmall;
    streamedSmall.StreamedLimit = 10;
    TestFileLoading heldSmall;
    heldSmall.Encoding.Encoding = TextEncoding::Utf8;
    heldSmall.HeldLimit = 10;
    TestFileLoading heldText;
    heldText.Encoding.Encoding = std::nullopt;

    struct Case {
        std::string path;
        TestFileLoading how;
        ReadRefusal refusal;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {missing, {}, ReadRefusal::Unopened, "нет такого файла или папки"},
        {dir_.string(), {}, ReadRefusal::Folder, "это папка, а не файл"},
        {large, streamedSmall, ReadRefusal::TooLarge, std::string(kFileTooLarge)},
        {large, heldSmall, ReadRefusal::TooLarge, std::string(kFileTooLarge)},
        {binary, heldText, ReadRefusal::NotText, "не файл теста (в нём двоичные данные)"},
    };
    for (const Case& c : cases) {
        const auto loaded = Load(c.path, c.how);
        ASSERT_TRUE(loaded.Error) << c.path;
        EXPECT_EQ(loaded.Error->Refusal, c.refusal) << c.path;
        EXPECT_EQ(loaded.Error->Reason, c.reason) << c.path;
        EXPECT_NE(loaded.Error->Message.find("«" + c.path + "»: " + c.reason), std::string::npos)
            << loaded.Error->Message;
        ASSERT_TRUE(loaded.Read);
        EXPECT_EQ(loaded.Read->TestName, mirvane::Test().TestName);
    }
    EXPECT_TRUE(messages_.empty());
}

// A file read part way before it failed gives no half test.
TEST_F(TestFileLoadingTest, AReadThatFailsMidwayLeavesTheEmptyTest)
{
    std::string endless = DosFile({"T", ")t 20", ")* 1"});
    for (int i = 0; i < 200; ++i) // past the lines that tell a test file
        endless += DosFile({")? Вопрос", ")+1 Да"});
    endless.append(LineSource::kLongestLine + 1, 'x');
    const auto loaded = Load(Write("endless.q", endless));
    ASSERT_TRUE(loaded.Error);
    EXPECT_EQ(loaded.Error->Refusal, ReadRefusal::TooLarge);
    EXPECT_EQ(loaded.Read->Divisions.Count(), 0u);
}

TEST_F(TestFileLoadingTest, TheEncodingIsNamedGuessedOrPutToTheUser)
{
    const std::string utf8 = Write("utf8.q", kUtf8Test);
    const std::string dos = Write("dos.q", AnsiToOem(kUtf8Test));

    TestFileLoading named;
    named.Encoding.Encoding = TextEncoding::Utf8;
    EXPECT_EQ(Load(utf8, named).Read->TestName, "Контрольная");
    EXPECT_NE(Load(utf8).Read->TestName, "Контрольная"); // code page 866 unless told

    TestFileLoading guessed;
    guessed.Encoding.Encoding = std::nullopt;
    EXPECT_EQ(Load(utf8, guessed).Read->TestName, "Контрольная");
    EXPECT_EQ(Load(dos, guessed).Read->TestName, "Контрольная");

    std::vector<TextEncoding> asked;
    bool answer = false;
    TestFileLoading offered;
    offered.Encoding.Encoding = std::nullopt;
    offered.Encoding.Confirm = [&](TextEncoding guess) {
        asked.push_back(guess);
        return answer;
    };
    EXPECT_NE(Load(utf8, offered).Read->TestName, "Контрольная"); // declined: read as code page 866
    answer = true;
    EXPECT_EQ(Load(utf8, offered).Read->TestName, "Контрольная");
    EXPECT_EQ(Load(dos, offered).Read->TestName, "Контрольная"); // nothing to ask
    EXPECT_EQ(asked, (std::vector<TextEncoding>{TextEncoding::Utf8, TextEncoding::Utf8}));
}

} // namespace
} // namespace mirvane::testing
