#include "testfile/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace mirvane {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("mirvane-fileio-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::string Read(const char* name) const
    {
        std::string bytes;
        EXPECT_FALSE(ReadFileBytes(Path(name), bytes).has_value());
        return bytes;
    }
    fs::path dir_;
};

TEST_F(FileIo, ChunksAreWrittenInOrderAndReplaceTheOldFile)
{
    ASSERT_FALSE(WriteFileReplacing(Path("f.q"), "old").has_value());
    const auto error = WriteFileReplacing(Path("f.q"), [](const ChunkSink& sink) {
        sink("first ");
        sink("");
        sink(std::string(100000, 'x'));
    });
    EXPECT_FALSE(error.has_value());
    const std::string bytes = Read("f.q");
    EXPECT_EQ(bytes.size(), 6u + 100000u);
    EXPECT_EQ(bytes.substr(0, 6), "first ");
    EXPECT_FALSE(fs::exists(Path("f.q.mirvane-tmp")));
}

TEST_F(FileIo, FailureInTheMiddleKeepsTheOldFileAndLeavesNoTemporary)
{
    ASSERT_FALSE(WriteFileReplacing(Path("f.q"), "old").has_value());
    EXPECT_THROW(WriteFileReplacing(Path("f.q"),
                                    [](const ChunkSink& sink) {
                                        sink("half");
                                        throw std::out_of_range("missing key");
                                    }),
                 std::out_of_range);
    EXPECT_EQ(Read("f.q"), "old");
    EXPECT_FALSE(fs::exists(Path("f.q.mirvane-tmp")));
}

TEST_F(FileIo, ErrorsNameTheFile)
{
    std::string bytes;
    const auto missing = ReadFileBytes(Path("none.q"), bytes);
    ASSERT_TRUE(missing.has_value());
    EXPECT_NE(missing->find(Path("none.q")), std::string::npos);
    const auto directory = ReadFileBytes(dir_.string(), bytes);
    ASSERT_TRUE(directory.has_value());
    const auto unwritable = WriteFileReplacing(Path("no/such/f.q"), "x");
    ASSERT_TRUE(unwritable.has_value());
    EXPECT_NE(unwritable->find("no/such/f.q"), std::string::npos);
}

} // namespace
} // namespace mirvane
