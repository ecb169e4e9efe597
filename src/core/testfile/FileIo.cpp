#include "testfile/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirvane {

// What the interrupt handler removes: the temporary file of the write under
// way. Only the command-line tool installs the handler; it writes one file at
// a time.
struct TemporaryCleanup {
    char temporary[4096] = {};
    volatile std::sig_atomic_t installed = 0;
};

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

// Reading a file past its limit, or text with a zero byte.
constexpr int kTooLarge = -1;
constexpr int kNotText = -2;

// The message for a failed reading; `failure`, when given, gets the refusal
// and the reason apart.
std::string Describe(const char* what, const std::string& path, int error, ReadError* failure)
{
    std::string reason = error == kTooLarge  ? std::string(kFileTooLarge)
                         : error == kNotText ? "не файл теста (в нём двоичные данные)"
                                             : ErrorReason(error);
    std::string message = std::string(what) + " " + Quoted(path) + ": " + reason;
    if (failure) {
        failure->Refusal = error == kTooLarge ? ReadRefusal::TooLarge
                           : error == kNotText ? ReadRefusal::NotText
                           : error == EISDIR  ? ReadRefusal::Folder
                                              : ReadRefusal::Failed;
        failure->Reason = std::move(reason);
        failure->Message = message;
    }
    return message;
}

std::string WriteFailure(const std::string& path, const std::string& reason)
{
    return "Не удалось записать файл " + Quoted(path) + ": " + reason;
}

// When the folder that takes the temporary file is the cause, it is named.
std::string FolderReason(int error, const std::string& folder)
{
    if (error == EACCES || error == EPERM)
        return "нет права на запись в папку " + Quoted(folder);
    if (error == ENOENT || error == ENOTDIR)
        return "папка " + Quoted(folder) + " не найдена";
    return ErrorReason(error);
}

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

TemporaryCleanup gOwnCleanup;
TemporaryCleanup* volatile gCleanup = &gOwnCleanup;

#ifndef _WIN32

extern "C" void RemoveTemporaryAndStop(int signal)
{
    if (gCleanup->temporary[0] != '\0')
        ::unlink(gCleanup->temporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The descriptor a path names when it is one of the program's own open files
// (/dev/stdout, /dev/fd/1, /proc/self/fd/1): such a path is written through
// the descriptor itself, so that a pipe, a terminal or a file opened for
// appending gets the bytes as the shell set it up.
std::optional<int> OwnDescriptor(const std::string& path)
{
    if (path == "/dev/stdout")
        return 1;
    if (path == "/dev/stderr")
        return 2;
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string& prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
                                      std::string("/proc/thread-self/fd/"), own}) {
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        int fd = -1;
        const char* first = path.data() + prefix.size();
        const char* last = path.data() + path.size();
        const auto [end, error] = std::from_chars(first, last, fd);
        if (error == std::errc() && end == last && fd >= 0)
            return fd;
    }
    return std::nullopt;
}

// In a folder anyone may write to and only owners may delete from (like
// /tmp), a link is followed only when it belongs to the writer or to the
// folder's owner: the rule by which the kernel refuses to open a link another
// user planted there.
bool IsPlantedLink(const fs::path& link)
{
    struct stat own {}, folder {};
    if (::lstat(link.c_str(), &own) != 0)
        return false;
    const fs::path parent = link.has_parent_path() ? link.parent_path() : fs::path(".");
    if (::stat(parent.c_str(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && own.st_uid != ::geteuid() && own.st_uid != folder.st_uid;
}

// Where the bytes for a path go: a file (reached through a chain of links,
// and which need not exist yet), or one of the program's open descriptors.
struct Destination {
    fs::path file;
    std::optional<int> descriptor;
};

std::optional<std::string> ResolveLinks(const std::string& path, Destination& to)
{
    to.file = path;
    for (int depth = 0; depth < 40; ++depth) {
        if ((to.descriptor = OwnDescriptor(to.file.string())))
            return std::nullopt;
        std::error_code ec;
        if (!fs::is_symlink(to.file, ec))
            return std::nullopt;
        if (IsPlantedLink(to.file))
            return WriteFailure(path, "ссылка " + Quoted(to.file.string()) +
                                          " в общей папке принадлежит другому пользователю; по ней ничего не записано");
        const fs::path next = fs::read_symlink(to.file, ec);
        if (ec)
            return WriteFailure(path, ErrorReason(ec.value()));
        to.file = next.is_absolute() ? next : to.file.parent_path() / next;
    }
    return WriteFailure(path, ErrorReason(ELOOP));
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

// Writes to an open descriptor and closes it.
std::optional<std::string> WriteAndClose(const std::string& path, int fd,
                                         const std::function<void(const ChunkSink&)>& produce)
{
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
    return ok ? std::nullopt : std::optional<std::string>(WriteFailure(path, ErrorReason(error)));
}

// Devices, FIFOs and terminals are written in place: there is no file to
// replace. A FIFO is opened without waiting, so that one nobody reads from
// is reported instead of hanging the program; once open, writes wait as
// usual for the reader to take the bytes.
std::optional<std::string> WriteInPlace(const std::string& path, const std::string& target,
                                        const std::function<void(const ChunkSink&)>& produce)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENXIO)
            return WriteFailure(path, "нет читателя");
        return WriteFailure(path, ErrorReason(errno));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return WriteAndClose(path, fd, produce);
}

// "." + the target's name + "." + random letters, the name cut (between
// characters) so that the whole fits the longest name a folder takes.
std::string TemporaryName(const std::string& target)
{
    constexpr std::size_t kNameMax = 255;
    constexpr std::size_t kRandom = 10;
    std::string stem = target;
    if (stem.size() > kNameMax - kRandom - 2) {
        std::size_t cut = kNameMax - kRandom - 2;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 character
        stem.resize(cut);
    }
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char noise[kRandom];
    if (::getrandom(noise, sizeof noise, 0) != static_cast<ssize_t>(sizeof noise)) {
        std::random_device device;
        for (unsigned char& n : noise)
            n = static_cast<unsigned char>(device());
    }
    std::string name = "." + stem + ".";
    for (unsigned char n : noise)
        name += kLetters[n % (sizeof kLetters - 1)];
    return name;
}

// Creates the temporary exclusively (never through a link) under a name
// nobody can foresee. The system applies the process's mask to `mode`.
// Returns the descriptor, or -1 with errno set.
int CreateTemporary(const fs::path& folder, const std::string& targetName, mode_t mode, std::string& temporary)
{
    TemporaryCleanup& cleanup = *gCleanup;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = (folder / TemporaryName(targetName)).string();
        const bool registered = cleanup.installed && temporary.size() < sizeof cleanup.temporary;
        // An interrupt between the creation and the registration would leave
        // the file behind.
        sigset_t interrupts, saved;
        sigemptyset(&interrupts);
        for (int s : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&interrupts, s);
        if (registered)
            pthread_sigmask(SIG_BLOCK, &interrupts, &saved);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        const int error = errno;
        if (fd >= 0 && registered)
            std::memcpy(cleanup.temporary, temporary.c_str(), temporary.size() + 1);
        if (registered)
            pthread_sigmask(SIG_SETMASK, &saved, nullptr);
        if (fd >= 0 || error != EEXIST) {
            errno = error;
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

std::optional<std::string> WriteReplacing(const std::string& path,
                                          const std::function<void(const ChunkSink&)>& produce, FileAccess access)
{
    Destination destination;
    if (auto error = ResolveLinks(path, destination))
        return error;
    if (destination.descriptor) {
        const int fd = ::fcntl(*destination.descriptor, F_DUPFD_CLOEXEC, 3);
        if (fd < 0)
            return WriteFailure(path, ErrorReason(errno));
        return WriteAndClose(path, fd, produce);
    }
    const fs::path& target = destination.file;
    const std::string targetName = target.string();
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    struct stat existing {};
    const bool exists = ::stat(targetName.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode))
            return WriteFailure(path, ErrorReason(EISDIR));
        if (!S_ISREG(existing.st_mode))
            return WriteInPlace(path, targetName, produce);
        if (::faccessat(AT_FDCWD, targetName.c_str(), W_OK, AT_EACCESS) != 0) {
            if (errno == EROFS)
                return WriteFailure(path, ErrorReason(EROFS));
            return WriteFailure(path, "нет права на запись в этот файл");
        }
    }

    const bool keepBits = exists && access == FileAccess::Usual;
    std::string temporary;
    const int fd = CreateTemporary(folder, target.filename().string(),
                                   keepBits || access == FileAccess::OwnerOnly ? 0600 : 0666, temporary);
    if (fd < 0)
        return WriteFailure(path, FolderReason(errno, folder.string()));
    const bool registered = gCleanup->installed && temporary == gCleanup->temporary;
    auto forget = [&] {
        if (registered)
            gCleanup->temporary[0] = '\0';
    };
    auto discard = [&] {
        ::unlink(temporary.c_str());
        forget();
    };

    if (exists) {
        // Keep the owner where the user may (root), else at least the group.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0)
            (void)!::fchown(fd, static_cast<uid_t>(-1), existing.st_gid); // else it stays the user's own
        // After the owner: a change of owner may clear set-id bits.
        ::fchmod(fd, keepBits ? existing.st_mode & 07777 : 0600);
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
                                                                    : ErrorReason(error));
    }
    forget();
    return std::nullopt;
}

#else // _WIN32: a temporary beside the file, then a rename

std::optional<std::string> WriteReplacing(const std::string& path,
                                          const std::function<void(const ChunkSink&)>& produce, FileAccess)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return WriteFailure(path, ErrorReason(EISDIR));
    const std::string temporary = path + ".mirvane-tmp";
    FilePtr f(std::fopen(temporary.c_str(), "wbx"));
    if (!f)
        return WriteFailure(path, ErrorReason(errno ? errno : EACCES));
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
        return WriteFailure(path, ErrorReason(error));
    }
    return std::nullopt;
}

#endif

// Opens a file for reading. A FIFO without a writer is not waited for: it
// reads as empty.
FilePtr OpenForReading(const std::string& path)
{
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    FilePtr f(::fdopen(fd, "rb"));
    if (!f)
        ::close(fd);
    return f;
#else
    return FilePtr(std::fopen(path.c_str(), "rb"));
#endif
}

struct ReadFailure {
    int error;
};

} // namespace

std::string ErrorReason(int error)
{
    switch (error) {
    case ENOENT:
        return "нет такого файла или папки";
    case ENOTDIR:
        return "в пути есть не папка";
    case EACCES:
    case EPERM:
        return "нет доступа";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "недостаточно места на диске";
    case EFBIG:
        return "файл превышает допустимый размер";
    case EROFS:
        return "файловая система доступна только для чтения";
    case ENAMETOOLONG:
        return "слишком длинное имя";
    case EISDIR:
        return "это папка, а не файл";
    case ELOOP:
        return "слишком много символических ссылок";
    case ENOMEM:
        return "недостаточно памяти";
    case EIO:
        return "ошибка ввода-вывода";
    default:
        return std::strerror(error);
    }
}

namespace {
// The last CR or LF of the bytes, or null.
const char* LastLineBreak(const char* bytes, std::size_t size)
{
#if defined(__GLIBC__)
    const auto* lf = static_cast<const char*>(::memrchr(bytes, '\n', size));
    const auto* cr = static_cast<const char*>(::memrchr(bytes, '\r', size));
    return !lf ? cr : !cr ? lf : std::max(lf, cr);
#else
    for (std::size_t k = size; k > 0; --k) {
        if (bytes[k - 1] == '\n' || bytes[k - 1] == '\r')
            return bytes + k - 1;
    }
    return nullptr;
#endif
}

// Opens a file to read: a folder, a file that cannot be opened and one known
// to be over `limit` are refused with their message. `size` is the file's
// size, or nothing for a device or a pipe, which tell none.
std::optional<std::string> OpenWithin(const std::string& path, std::uintmax_t limit, FilePtr& f,
                                      std::optional<std::uintmax_t>& size, ReadError* failure)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return Describe("Не удалось прочитать файл", path, EISDIR, failure);
    errno = 0;
    f = OpenForReading(path);
    if (!f) {
        const int error = errno ? errno : ENOENT;
        auto message = Describe("Не удалось открыть файл", path, error, failure);
        if (failure && error != EISDIR)
            failure->Refusal = ReadRefusal::Unopened;
        return message;
    }
    const auto known = fs::file_size(path, ec);
    size = ec ? std::nullopt : std::optional<std::uintmax_t>(known);
    if (size && *size > limit)
        return Describe("Не удалось прочитать файл", path, kTooLarge, failure);
    return std::nullopt;
}
} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::string& out, std::uintmax_t limit,
                                         FileContent content, ReadError* failure)
{
    out.clear();
    FilePtr f;
    std::optional<std::uintmax_t> size;
    if (auto refused = OpenWithin(path, limit, f, size, failure))
        return refused;
    // A device or a pipe tells no size; its bytes are counted as they come.
    if (size)
        out.reserve(static_cast<std::size_t>(*size));
    char buffer[1 << 16];
    std::size_t n;
    bool utf16 = false;
    std::size_t lineRun = 0; // bytes since the last line break
    while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) {
        // The first block tells an archive (any bytes) from text.
        if (content == FileContent::TextOrArchive)
            content = std::string_view(buffer, n).substr(0, kZipSignature.size()) == kZipSignature ? FileContent::Bytes
                                                                                                   : FileContent::Text;
        // Text holds no line as long as the reader's longest: a stream of
        // one line that never ends is refused once it is that long.
        if (content == FileContent::Text) {
            const char* last = LastLineBreak(buffer, n);
            lineRun = last ? static_cast<std::size_t>(buffer + n - last - 1) : lineRun + n;
        }
        if (out.size() + n > limit || lineRun > LineSource::kLongestLine) {
            out = std::string();
            return Describe("Не удалось прочитать файл", path, kTooLarge, failure);
        }
        // UTF-16 text, which its byte order mark announces, holds zero bytes.
        if (out.empty() && n >= 2)
            utf16 = (buffer[0] == '\xFF' && buffer[1] == '\xFE') || (buffer[0] == '\xFE' && buffer[1] == '\xFF');
        if (content == FileContent::Text && !utf16 && std::memchr(buffer, '\0', n)) {
            out = std::string();
            return Describe("Не удалось прочитать файл", path, kNotText, failure);
        }
        out.append(buffer, n);
    }
    if (std::ferror(f.get())) {
        const int error = errno ? errno : EIO;
        out.clear();
        return Describe("Не удалось прочитать файл", path, error, failure);
    }
    return std::nullopt;
}

std::optional<std::string> ReadFileStart(const std::string& path, std::string& out, std::size_t count,
                                         ReadError* failure)
{
    out.clear();
    FilePtr f;
    std::optional<std::uintmax_t> size;
    if (auto refused = OpenWithin(path, UINTMAX_MAX, f, size, failure))
        return refused;
    out.resize(count);
    std::size_t got = 0, n = 0;
    while (got < count && (n = std::fread(out.data() + got, 1, count - got, f.get())) > 0)
        got += n;
    out.resize(got);
    if (got < count && std::ferror(f.get())) {
        const int error = errno ? errno : EIO;
        out = std::string();
        return Describe("Не удалось прочитать файл", path, error, failure);
    }
    return std::nullopt;
}

std::optional<std::string> ReadFileLines(const std::string& path, const std::function<void(LineSource&)>& use,
                                         std::uintmax_t limit, ReadError* failure)
{
    // A file known to be too large is refused before anything is read.
    FilePtr f;
    std::optional<std::uintmax_t> size;
    if (auto refused = OpenWithin(path, limit, f, size, failure))
        return refused;
    FILE* file = f.get();
    std::uintmax_t read = 0;
    LineSource source(
        [file, &read, limit](char* into, std::size_t room) {
            const std::size_t n = std::fread(into, 1, room, file);
            if (n == 0 && std::ferror(file))
                throw ReadFailure{errno ? errno : EIO};
            read += n;
            if (read > limit)
                throw ReadFailure{kTooLarge};
            return n;
        },
        [file, &read] {
            if (std::fseek(file, 0, SEEK_SET) != 0)
                throw ReadFailure{errno ? errno : EIO};
            read = 0;
        });
    try {
        use(source);
    } catch (const ReadFailure& thrown) {
        return Describe("Не удалось прочитать файл", path, thrown.error, failure);
    } catch (const LineSource::LineTooLong&) {
        return Describe("Не удалось прочитать файл", path, kTooLarge, failure);
    }
    return std::nullopt;
}

std::optional<std::string> WriteFileReplacing(const std::string& path, std::string_view bytes, FileAccess access)
{
    return WriteFileReplacing(path, [bytes](const ChunkSink& sink) { sink(bytes); }, access);
}

std::optional<std::string> WriteFileReplacing(const std::string& path,
                                              const std::function<void(const ChunkSink&)>& produce, FileAccess access)
{
    return WriteReplacing(path, produce, access);
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
    gCleanup->installed = 1;
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, RemoveTemporaryAndStop);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

TemporaryCleanup* ProgramTemporaryCleanup() { return gCleanup; }

void ShareTemporaryCleanup(TemporaryCleanup* program)
{
    if (program)
        gCleanup = program;
}

} // namespace mirvane
