#include "testfile/FileIo.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirvane {

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

std::string Describe(const char* what, const std::string& path, int error)
{
    return std::string(what) + " " + Quoted(path) + ": " + std::strerror(error);
}

std::string WriteFailure(const std::string& path, const std::string& reason)
{
    return "Не удалось записать файл " + Quoted(path) + ": " + reason;
}

// The real cause of a failed write, in the user's words.
std::string Reason(int error)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "недостаточно места на диске";
    case EFBIG:
        return "файл превышает допустимый размер";
    case EROFS:
        return "файловая система доступна только для чтения";
    case EISDIR:
        return "это папка, а не файл";
    case ELOOP:
        return "слишком много символических ссылок";
    default:
        return std::strerror(error);
    }
}

// When the folder that takes the temporary file is the cause, it is named.
std::string FolderReason(int error, const std::string& folder)
{
    if (error == EACCES || error == EPERM)
        return "нет права на запись в папку " + Quoted(folder);
    if (error == ENOENT || error == ENOTDIR)
        return "папка " + Quoted(folder) + " не найдена";
    return Reason(error);
}

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

#ifndef _WIN32

// The temporary file of the write under way, for the interrupt handler. Only
// the command-line tool installs the handler; it writes one file at a time.
char gTemporary[4096];
volatile std::sig_atomic_t gCleanupInstalled = 0;

extern "C" void RemoveTemporaryAndStop(int signal)
{
    if (gTemporary[0] != '\0')
        ::unlink(gTemporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Follows a chain of symbolic links to the file it ends at, which need not
// exist yet.
std::optional<std::string> ResolveLinks(const std::string& path, fs::path& target)
{
    target = path;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(target, ec))
            return std::nullopt;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec)
            return WriteFailure(path, Reason(ec.value()));
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return WriteFailure(path, Reason(ELOOP));
}

bool WriteAll(int fd, std::string_view bytes, int& error)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Hands what `produce` makes to the file; false, with `error` set, after the
// first write that failed. An exception from `produce` is passed on.
bool WriteProduced(int fd, const std::function<void(const ChunkSink&)>& produce, int& error)
{
    bool ok = true;
    produce([&](std::string_view chunk) { ok = ok && WriteAll(fd, chunk, error); });
    return ok;
}

// Devices and pipes (such as /dev/stdout) are written in place: there is no
// file to replace.
std::optional<std::string> WriteInPlace(const std::string& path, const std::string& target,
                                        const std::function<void(const ChunkSink&)>& produce)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return WriteFailure(path, Reason(errno));
    bool ok = true;
    int error = 0;
    try {
        ok = WriteProduced(fd, produce, error);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok ? std::nullopt : std::optional<std::string>(WriteFailure(path, Reason(error)));
}

std::optional<std::string> WriteReplacing(const std::string& path,
                                          const std::function<void(const ChunkSink&)>& produce)
{
    fs::path target;
    if (auto error = ResolveLinks(path, target))
        return error;
    const std::string targetName = target.string();
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    struct stat existing {};
    const bool exists = ::stat(targetName.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode))
            return WriteFailure(path, Reason(EISDIR));
        if (!S_ISREG(existing.st_mode))
            return WriteInPlace(path, targetName, produce);
        if (::faccessat(AT_FDCWD, targetName.c_str(), W_OK, AT_EACCESS) != 0) {
            if (errno == EROFS)
                return WriteFailure(path, Reason(EROFS));
            return WriteFailure(path, "нет права на запись в этот файл");
        }
    }

    // mkstemp creates the file exclusively (never through a link) with a
    // name nobody can foresee.
    const std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::string local(pattern);
    char* name = local.data();
    const bool global = gCleanupInstalled && pattern.size() < sizeof gTemporary;
    if (global) {
        std::memcpy(gTemporary, pattern.c_str(), pattern.size() + 1);
        name = gTemporary;
    }
    const int fd = ::mkstemp(name);
    if (fd < 0) {
        const int error = errno;
        if (global)
            gTemporary[0] = '\0';
        return WriteFailure(path, FolderReason(error, folder.string()));
    }
    const std::string temporary = name;
    auto discard = [&] {
        ::unlink(temporary.c_str());
        if (global)
            gTemporary[0] = '\0';
    };

    if (exists) {
        ::fchmod(fd, existing.st_mode & 07777);
        // Keep the owner where the user may (root), else at least the group.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0)
            (void)!::fchown(fd, static_cast<uid_t>(-1), existing.st_gid); // else it stays the user's own
        ::fchmod(fd, existing.st_mode & 07777); // a change of owner may clear set-id bits
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    bool ok = true;
    int error = 0;
    try {
        ok = WriteProduced(fd, produce, error);
    } catch (...) {
        ::close(fd);
        discard();
        throw;
    }
    if (ok && ::fsync(fd) != 0 && errno != EINVAL) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), targetName.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        discard();
        return WriteFailure(path, error == EACCES || error == EPERM ? FolderReason(error, folder.string())
                                                                    : Reason(error));
    }
    if (global)
        gTemporary[0] = '\0';
    return std::nullopt;
}

#else // _WIN32: a temporary beside the file, then a rename

std::optional<std::string> WriteReplacing(const std::string& path,
                                          const std::function<void(const ChunkSink&)>& produce)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return WriteFailure(path, Reason(EISDIR));
    const std::string temporary = path + ".mirvane-tmp";
    FilePtr f(std::fopen(temporary.c_str(), "wbx"));
    if (!f)
        return WriteFailure(path, Reason(errno ? errno : EACCES));
    bool ok = true;
    try {
        produce([&](std::string_view chunk) {
            ok = ok && std::fwrite(chunk.data(), 1, chunk.size(), f.get()) == chunk.size();
        });
    } catch (...) {
        f.reset();
        fs::remove(temporary, ec);
        throw;
    }
    const int error = errno ? errno : EIO;
    ok = std::fclose(f.release()) == 0 && ok;
    if (ok)
        fs::rename(temporary, path, ec);
    if (!ok || ec) {
        fs::remove(temporary, ec);
        return WriteFailure(path, Reason(error));
    }
    return std::nullopt;
}

#endif

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::string& out)
{
    out.clear();
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return Describe("Не удалось прочитать файл", path, EISDIR);
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return Describe("Не удалось открыть файл", path, errno ? errno : ENOENT);
    const auto size = fs::file_size(path, ec);
    if (!ec)
        out.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
        out.append(buffer, n);
    if (std::ferror(f.get())) {
        const int error = errno ? errno : EIO;
        out.clear();
        return Describe("Не удалось прочитать файл", path, error);
    }
    return std::nullopt;
}

namespace {
struct ReadFailure {
    int error;
};
} // namespace

std::optional<std::string> ReadFileLines(const std::string& path, const std::function<void(LineSource&)>& use)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return Describe("Не удалось прочитать файл", path, EISDIR);
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return Describe("Не удалось открыть файл", path, errno ? errno : ENOENT);
    FILE* file = f.get();
    LineSource source(
        [file](char* into, std::size_t size) {
            const std::size_t n = std::fread(into, 1, size, file);
            if (n == 0 && std::ferror(file))
                throw ReadFailure{errno ? errno : EIO};
            return n;
        },
        [file] {
            if (std::fseek(file, 0, SEEK_SET) != 0)
                throw ReadFailure{errno ? errno : EIO};
        });
    try {
        use(source);
    } catch (const ReadFailure& failure) {
        return Describe("Не удалось прочитать файл", path, failure.error);
    }
    return std::nullopt;
}

std::optional<std::string> WriteFileReplacing(const std::string& path, std::string_view bytes)
{
    return WriteFileReplacing(path, [bytes](const ChunkSink& sink) { sink(bytes); });
}

std::optional<std::string> WriteFileReplacing(const std::string& path,
                                              const std::function<void(const ChunkSink&)>& produce)
{
    return WriteReplacing(path, produce);
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

std::string SameFileRefusal(const std::string& path)
{
    return "Файл " + Quoted(path) + " — это сам экспортируемый тест; экспорт в него не выполнен, тест не тронут";
}

void RemoveTemporaryFilesOnInterrupt()
{
#ifndef _WIN32
    gCleanupInstalled = 1;
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, RemoveTemporaryAndStop);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace mirvane
