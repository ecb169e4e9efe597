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
    void SetUp() override { fs::create_directories(dir_); }
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
    static TestFileLoading In(std::optional<TextEncoding> encoding, std::uintmax_t limit = UINTMAX_MAX)
    {
        TestFileLoading how;
        how.Encoding.Encoding = encoding;
        how.StreamedLimit = how.HeldLimit = limit;
        return how;
    }

    fs::path dir_ = fs::temp_directory_path() / ("mirvane-loading-" + std::to_string(::getpid()));
    std::vector<ReaderMessage> messages_;
};

TEST_F(TestFileLoadingTest, ATestFileGivesItsTestAndTheMessagesAboutItsLines)
{
    const std::string path = Write("good.q", DosFile({"Контрольная", ")t 20", ")t x", ")* 1", ")? Вопрос", ")+1 Да"}));
    SourceLines lines;
    TestFileLoading how;
    how.Lines = &lines;
    const auto loaded = Load(path, how);
    ASSERT_FALSE(loaded.Error) << loaded.Error->Message;
    EXPECT_EQ(loaded.Read->TestName, "Контрольная");
    EXPECT_EQ(loaded.Read->Divisions.Count(), 1u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].Line, 3);
    EXPECT_EQ(messages_[0].Text, reader_text::kBadTime);
    EXPECT_EQ(lines.Divisions, std::vector<std::int64_t>{4});
}

// Every refusal names its cause, reaches no message sink and leaves the
// empty test, even after part of the file was read.
TEST_F(TestFileLoadingTest, EachRefusalIsToldApartAndLeavesTheEmptyTest)
{
    const std::string test = Write("test.q", DosFile({"T", ")t 20", ")* 1", ")? Вопрос", ")+1 Да"}));
    std::string endless = DosFile({"Прочитанный", ")t 20", ")* 1"});
    for (int i = 0; i < 200; ++i) // past the lines that tell a test file
        endless += DosFile({")? Вопрос", ")+1 Да"});
    endless.append(LineSource::kLongestLine + 1, 'x');
    const std::string endlessLine = Write("endless.q", endless);
    const std::string missing = (dir_ / "нет.q").string();
    const std::string notes = Write("notes.q", "просто текст\r\nи ещё строка\r\n");
    const std::string binary = Write("binary.q", std::string("T\r\n)\0\r\n)\r\n)\r\n", 13));
    const std::string notText = "не файл теста (в нём двоичные данные)";
    const std::string folder = dir_.string();

    const std::vector<std::tuple<std::string, TestFileLoading, ReadRefusal, std::string>> cases = {
        {missing, {}, ReadRefusal::Unopened, "нет такого файла или папки"},
        {folder, {}, ReadRefusal::Folder, "это папка, а не файл"},
        {test, In(TextEncoding::Cp866, 10), ReadRefusal::TooLarge, std::string(kFileTooLarge)},
        {test, In(TextEncoding::Utf8, 10), ReadRefusal::TooLarge, std::string(kFileTooLarge)},
        {endlessLine, {}, ReadRefusal::TooLarge, std::string(kFileTooLarge)},
        {binary, In(std::nullopt), ReadRefusal::NotText, notText},
        {notes, {}, ReadRefusal::NotATestFile, std::string(reader_text::kNotATestFile)},
        {notes, In(std::nullopt), ReadRefusal::NotATestFile, std::string(reader_text::kNotATestFile)},
    };
    for (const auto& [path, how, refusal, reason] : cases) {
        const auto loaded = Load(path, how);
        ASSERT_TRUE(loaded.Error) << path;
        EXPECT_EQ(loaded.Error->Refusal, refusal) << path;
        EXPECT_EQ(loaded.Error->Reason, reason) << path;
        const std::string named = refusal == ReadRefusal::NotATestFile ? reason : "«" + path + "»: " + reason;
        EXPECT_NE(loaded.Error->Message.find(named), std::string::npos) << loaded.Error->Message;
        EXPECT_EQ(loaded.Read->TestName, mirvane::Test().TestName) << path;
        EXPECT_EQ(loaded.Read->Divisions.Count(), 0u) << path;
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(TestFileLoadingTest, TheEncodingIsNamedGuessedOrPutToTheUser)
{
    const std::string text = "Контрольная\r\n)t 20\r\n)* 1\r\n)? Столица?\r\n)+1 Москва\r\n";
    const std::string utf8 = Write("utf8.q", text);
    const std::string dos = Write("dos.q", AnsiToOem(text));
    auto title = [&](const std::string& path, const TestFileLoading& how) { return Load(path, how).Read->TestName; };
    EXPECT_EQ(title(utf8, In(TextEncoding::Utf8)), "Контрольная");
    EXPECT_NE(title(utf8, {}), "Контрольная"); // code page 866 unless told
    EXPECT_EQ(title(utf8, In(std::nullopt)), "Контрольная");
    EXPECT_EQ(title(dos, In(std::nullopt)), "Контрольная");

    std::vector<TextEncoding> asked;
    bool answer = false;
    TestFileLoading offered = In(std::nullopt);
    offered.Encoding.Confirm = [&](TextEncoding guess) {
        asked.push_back(guess);
        return answer;
    };
    EXPECT_NE(title(utf8, offered), "Контрольная"); // declined: read as code page 866
    answer = true;
    EXPECT_EQ(title(utf8, offered), "Контрольная");
    EXPECT_EQ(title(dos, offered), "Контрольная"); // nothing to ask
    EXPECT_EQ(asked, (std::vector<TextEncoding>{TextEncoding::Utf8, TextEncoding::Utf8}));
}

} // namespace
} // namespace mirvane::testing
