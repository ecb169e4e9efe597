#include "testfile/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace mirvane {

namespace {

std::string Describe(const char* what, const std::string& path, int error)
{
    return std::string(what) + " «" + path + "»: " + std::strerror(error);
}

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::string& out)
{
    out.clear();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return Describe("Не удалось прочитать файл", path, EISDIR);
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return Describe("Не удалось открыть файл", path, errno ? errno : ENOENT);
    const auto size = std::filesystem::file_size(path, ec);
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

std::optional<std::string> WriteFileReplacing(const std::string& path, std::string_view bytes)
{
    return WriteFileReplacing(path, [bytes](const ChunkSink& sink) { sink(bytes); });
}

std::optional<std::string> WriteFileReplacing(const std::string& path,
                                              const std::function<void(const ChunkSink&)>& produce)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return Describe("Не удалось записать файл", path, EISDIR);

    const std::string temporary = path + ".mirvane-tmp";
    errno = 0;
    FilePtr f(std::fopen(temporary.c_str(), "wb"));
    if (!f)
        return Describe("Не удалось записать файл", path, errno ? errno : EACCES);
    bool ok = true;
    int error = 0;
    try {
        produce([&](std::string_view chunk) {
            if (ok && std::fwrite(chunk.data(), 1, chunk.size(), f.get()) != chunk.size()) {
                ok = false;
                error = errno ? errno : EIO;
            }
        });
    } catch (...) {
        f.reset();
        fs::remove(temporary, ec);
        throw;
    }
    if (ok && std::fflush(f.get()) != 0) {
        ok = false;
        error = errno ? errno : EIO;
    }
#ifndef _WIN32
    if (ok && ::fsync(fileno(f.get())) != 0 && errno != EINVAL) {
        ok = false;
        error = errno;
    }
#endif
    if (std::fclose(f.release()) != 0 && ok) {
        ok = false;
        error = errno ? errno : EIO;
    }
    if (ok) {
        fs::rename(temporary, path, ec);
        if (ec) {
            ok = false;
            error = ec.value();
        }
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return Describe("Не удалось записать файл", path, error);
    }
    return std::nullopt;
}

} // namespace mirvane
