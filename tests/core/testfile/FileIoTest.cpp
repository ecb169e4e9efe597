#include "TestSupport.h"

#include "model/Test.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvane::testing {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("mirvane-fileio-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::permissions(dir_, fs::perms::all); // an unprivileged user may work here too
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::all);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Read(const std::string& name) const
    {
        std::string bytes;
        EXPECT_FALSE(ReadFileBytes(Path(name), bytes).has_value());
        return bytes;
    }
    // Every entry of the folder, hidden temporary files included.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static unsigned Mode(const std::string& path)
    {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0);
        return st.st_mode & 07777;
    }
    fs::path dir_;
};

using Names = std::vector<std::string>;

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
    EXPECT_EQ(Entries(), Names{"f.q"});
}

TEST_F(FileIo, FailuresKeepTheOldFileAndLeaveNoTemporary)
{
    ASSERT_FALSE(WriteFileReplacing(Path("f.q"), "old").has_value());
    EXPECT_THROW(WriteFileReplacing(Path("f.q"),
                                    [](const ChunkSink& sink) {
                                        sink("half");
                                        throw std::out_of_range("missing key");
                                    }),
                 std::out_of_range);
    EXPECT_EQ(Read("f.q"), "old");

    std::optional<std::string> error;
    WithFileSizeLimit(64, [&] { error = WriteFileReplacing(Path("f.q"), std::string(1000, 'x')); });
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("допустимый размер"), std::string::npos) << *error;
    EXPECT_EQ(Read("f.q"), "old");
    EXPECT_EQ(Entries(), Names{"f.q"});
}

TEST_F(FileIo, ExistingFilesKeepTheirPermissionsAndOwners)
{
    ASSERT_FALSE(WriteFileReplacing(Path("private.q"), "old").has_value());
    ::chmod(Path("private.q").c_str(), 0600);
    ASSERT_FALSE(WriteFileReplacing(Path("private.q"), "new").has_value());
    EXPECT_EQ(Mode(Path("private.q")), 0600u);
    ::chmod(Path("private.q").c_str(), 0751);
    ASSERT_FALSE(WriteFileReplacing(Path("private.q"), "newer").has_value());
    EXPECT_EQ(Mode(Path("private.q")), 0751u);

    // A new file gets the usual bits of the user's mask.
    const mode_t mask = ::umask(022);
    ASSERT_FALSE(WriteFileReplacing(Path("fresh.q"), "x").has_value());
    ::umask(mask);
    EXPECT_EQ(Mode(Path("fresh.q")), 0644u);

    if (::geteuid() == 0) { // only root may give a file to another owner
        ASSERT_EQ(::chown(Path("private.q").c_str(), 1234, 5678), 0);
        ASSERT_FALSE(WriteFileReplacing(Path("private.q"), "theirs").has_value());
        struct stat st {};
        ::stat(Path("private.q").c_str(), &st);
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
}

TEST_F(FileIo, LinksAreWrittenThroughAndNeverFollowedByTheTemporary)
{
    ASSERT_FALSE(WriteFileReplacing(Path("target.htm"), "old").has_value());
    fs::create_symlink("target.htm", Path("link.htm"));
    ASSERT_FALSE(WriteFileReplacing(Path("link.htm"), "new").has_value());
    EXPECT_TRUE(fs::is_symlink(Path("link.htm")));
    EXPECT_EQ(Read("target.htm"), "new");

    // A file or a link that sits where a careless writer would put its
    // temporary file is left alone.
    ASSERT_FALSE(WriteFileReplacing(Path("victim.txt"), "victim").has_value());
    fs::create_symlink(Path("victim.txt"), Path("v.q.mirvane-tmp"));
    ASSERT_FALSE(WriteFileReplacing(Path("v.q"), "test").has_value());
    EXPECT_EQ(Read("victim.txt"), "victim");
    EXPECT_TRUE(fs::is_symlink(Path("v.q.mirvane-tmp")));
    EXPECT_EQ(Read("v.q"), "test");
}

TEST_F(FileIo, WhatTheUserMayNotWriteIsRefusedWithTheRealCause)
{
    ASSERT_FALSE(WriteFileReplacing(Path("readonly.q"), "old").has_value());
    ::chmod(Path("readonly.q").c_str(), 0444);
    fs::create_directories(Path("locked"));
    ::chmod(Path("locked").c_str(), 0555);
    std::optional<std::string> file, folder;
    const bool ran = AsUnprivilegedUser([&] {
        file = WriteFileReplacing(Path("readonly.q"), "new");
        folder = WriteFileReplacing(Path("locked/out.q"), "new");
    });
    if (!ran)
        GTEST_SKIP() << "cannot take an unprivileged user's ids";
    ASSERT_TRUE(file.has_value());
    EXPECT_NE(file->find("нет права на запись в этот файл"), std::string::npos) << *file;
    EXPECT_EQ(Read("readonly.q"), "old");
    ASSERT_TRUE(folder.has_value());
    EXPECT_NE(folder->find("нет права на запись в папку «" + Path("locked") + "»"), std::string::npos) << *folder;
    EXPECT_EQ(Entries(), (Names{"locked", "readonly.q"}));
}

TEST_F(FileIo, ErrorsNameTheFile)
{
    std::string bytes;
    const auto missing = ReadFileBytes(Path("none.q"), bytes);
    ASSERT_TRUE(missing.has_value());
    EXPECT_NE(missing->find(Path("none.q")), std::string::npos);
    EXPECT_TRUE(ReadFileBytes(dir_.string(), bytes).has_value());
    const auto unwritable = WriteFileReplacing(Path("no/such/f.q"), "x");
    ASSERT_TRUE(unwritable.has_value());
    EXPECT_NE(unwritable->find("no/such/f.q"), std::string::npos);
    EXPECT_NE(unwritable->find("не найдена"), std::string::npos) << *unwritable;
    const auto folder = WriteFileReplacing(dir_.string(), "x");
    ASSERT_TRUE(folder.has_value());
    EXPECT_NE(folder->find("это папка"), std::string::npos);
}

TEST_F(FileIo, SameFileWhateverTheSpelling)
{
    ASSERT_FALSE(WriteFileReplacing(Path("same.q"), "x").has_value());
    fs::create_symlink("same.q", Path("alias.q"));
    EXPECT_TRUE(IsSameFile(Path("same.q"), (dir_ / "." / ".." / dir_.filename() / "same.q").string()));
    EXPECT_TRUE(IsSameFile(Path("alias.q"), Path("same.q")));
    EXPECT_FALSE(IsSameFile(Path("same.q"), Path("other.q")));
}

} // namespace
} // namespace mirvane::testing

// Every change of the process's mask in this program, seen by standing in
// for the C library's function.
static std::atomic<int> gMaskChanges{0};
extern "C" mode_t umask(mode_t mask)
{
    const auto old = static_cast<mode_t>(::syscall(SYS_umask, mask));
    if (old != mask)
        ++gMaskChanges;
    return old;
}

namespace mirvane::testing {
namespace {

// As another user plants it in a shared folder like /tmp: a link there is
// followed only when it is the writer's own or the folder owner's.
TEST_F(FileIo, LinksPlantedByAnotherUserInASharedFolderAreRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to play two users";
    constexpr uid_t kWriter = 65534, kStranger = 1234;
    ASSERT_FALSE(WriteFileReplacing(Path("important.txt"), "precious").has_value());
    ASSERT_EQ(::chown(Path("important.txt").c_str(), kWriter, kWriter), 0);
    fs::create_directories(Path("pub"));
    ::chmod(Path("pub").c_str(), 01777);
    fs::create_symlink(Path("important.txt"), Path("pub/report.htm"));
    ASSERT_EQ(::lchown(Path("pub/report.htm").c_str(), kStranger, kStranger), 0);

    std::optional<std::string> planted, own;
    ASSERT_TRUE(AsUnprivilegedUser([&] { planted = WriteFileReplacing(Path("pub/report.htm"), "overwritten"); }));
    ASSERT_TRUE(planted.has_value());
    EXPECT_NE(planted->find("другому пользователю"), std::string::npos) << *planted;
    EXPECT_EQ(Read("important.txt"), "precious");
    EXPECT_TRUE(fs::is_symlink(Path("pub/report.htm")));

    // The writer's own link, and a link of the folder's owner, are followed.
    ASSERT_EQ(::lchown(Path("pub/report.htm").c_str(), kWriter, kWriter), 0);
    ASSERT_TRUE(AsUnprivilegedUser([&] { own = WriteFileReplacing(Path("pub/report.htm"), "own link"); }));
    EXPECT_FALSE(own.has_value()) << *own;
    EXPECT_EQ(Read("important.txt"), "own link");
    ASSERT_EQ(::lchown(Path("pub/report.htm").c_str(), 0, 0), 0);
    ASSERT_TRUE(AsUnprivilegedUser([&] { own = WriteFileReplacing(Path("pub/report.htm"), "root's link"); }));
    EXPECT_FALSE(own.has_value()) << *own;
    EXPECT_EQ(Read("important.txt"), "root's link");
}

TEST_F(FileIo, PrivateFilesAreTheOwnersAloneAndTheMaskIsNeverChanged)
{
    const mode_t mask = ::umask(022);
    ASSERT_FALSE(WriteFileReplacing(Path("copy.q"), "work", FileAccess::OwnerOnly).has_value());
    EXPECT_EQ(Mode(Path("copy.q")), 0600u);
    ::chmod(Path("copy.q").c_str(), 0644);
    ASSERT_FALSE(WriteFileReplacing(Path("copy.q"), "more work", FileAccess::OwnerOnly).has_value());
    EXPECT_EQ(Mode(Path("copy.q")), 0600u);

    // The mask is the process's, shared by every thread: a change of it
    // for a moment would give the files another thread creates meanwhile the
    // wrong bits.
    gMaskChanges = 0;
    ASSERT_FALSE(WriteFileReplacing(Path("fresh.q"), "new").has_value());
    ASSERT_FALSE(WriteFileReplacing(Path("fresh.q"), "replaced").has_value());
    EXPECT_EQ(gMaskChanges, 0);
    ::umask(mask);
    EXPECT_EQ(Mode(Path("fresh.q")), 0644u);
}

TEST_F(FileIo, TargetsThatAreNoRegularFileAreWrittenInPlace)
{
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    const auto nobody = WriteFileReplacing(Path("pipe"), "lost");
    ASSERT_TRUE(nobody.has_value());
    EXPECT_NE(nobody->find("нет читателя"), std::string::npos) << *nobody;

    const int reader = ::open(Path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(WriteFileReplacing(Path("pipe"), "through the pipe").has_value());
    char got[64] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 16);
    EXPECT_STREQ(got, "through the pipe");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(Path("pipe")));
    EXPECT_EQ(Entries(), Names{"pipe"});
}

TEST_F(FileIo, LongestLegalNamesAndReasonsInRussian)
{
    std::string name;
    for (int i = 0; i < 124; ++i)
        name += "ж";
    name += ".q";
    ASSERT_EQ(name.size(), 250u);
    const auto error = WriteFileReplacing(Path(name.c_str()), "long name");
    EXPECT_FALSE(error.has_value()) << *error;
    EXPECT_FALSE(WriteFileReplacing(Path(name.c_str()), "again").has_value());
    EXPECT_EQ(Read(name.c_str()), "again");
    EXPECT_EQ(Entries(), Names{name});

    std::string bytes;
    const auto missing = ReadFileBytes(Path("none.q"), bytes);
    ASSERT_TRUE(missing.has_value());
    EXPECT_NE(missing->find("нет такого файла"), std::string::npos) << *missing;
    const auto tooLong = WriteFileReplacing(Path((name + name).c_str()), "x");
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_NE(tooLong->find("слишком длинное имя"), std::string::npos) << *tooLong;
}

TEST_F(FileIo, ReadsStopAtTheirLimit)
{
    std::string bytes;
    const auto endless = ReadFileBytes("/dev/zero", bytes, 1 << 20);
    ASSERT_TRUE(endless.has_value());
    EXPECT_NE(endless->find(kFileTooLarge), std::string::npos) << *endless;
    const auto binary = ReadFileBytes("/dev/zero", bytes, UINTMAX_MAX, FileContent::Text);
    ASSERT_TRUE(binary.has_value());
    EXPECT_NE(binary->find("не файл теста"), std::string::npos) << *binary;
    ASSERT_FALSE(WriteFileReplacing(Path("ten.q"), "0123456789").has_value());
    EXPECT_TRUE(ReadFileBytes(Path("ten.q"), bytes, 9).has_value());
    EXPECT_FALSE(ReadFileBytes(Path("ten.q"), bytes, 10).has_value());
}

// A line that never ends (a pipe, a device) cannot take all the memory: a
// text or a test file read without a size limit holds no line longer than
// the reader takes.
TEST_F(FileIo, TextStopsAtItsLongestLine)
{
    // Past the first lines, which are read to tell a test file.
    std::string file = "T\r\n)t 30\r\n):D\r\n";
    for (int i = 0; i < 60; ++i)
        file += ")?\r\nQ\r\n";
    ASSERT_FALSE(WriteFileReplacing(Path("long.q"), file + std::string(LineSource::kLongestLine + 1, 'x')).has_value());
    std::string bytes;
    const auto asText = ReadFileBytes(Path("long.q"), bytes, UINTMAX_MAX, FileContent::Text);
    ASSERT_TRUE(asText.has_value());
    EXPECT_NE(asText->find(kFileTooLarge), std::string::npos) << *asText;
    EXPECT_FALSE(ReadFileBytes(Path("long.q"), bytes).has_value()) << "any bytes may run on";
    mirvane::Test test;
    TestFileReader reader(test, {});
    const auto asTest = ReadFileLines(Path("long.q"), [&](LineSource& source) { reader.LoadFile(source); });
    ASSERT_TRUE(asTest.has_value());
    EXPECT_NE(asTest->find(kFileTooLarge), std::string::npos) << *asTest;
}

} // namespace
} // namespace mirvane::testing
