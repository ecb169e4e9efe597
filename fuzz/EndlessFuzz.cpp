// A file that never ends: it yields the input and then the input's bytes
// without line breaks (or "x"), over and over: an endless line. It is read
// as a file opened without a size limit is: by the test-file reader in
// blocks, or, through a named pipe, whole as text and then by the importer
// its text calls for. Nothing is asserted: the program's own caps must stop
// the reading, or the run fails on the memory limit or the time limit.
#include "interchange/Interchange.h"
#include "model/KeyCounter.h"
#include "model/Test.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileReader.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

namespace {

namespace fs = std::filesystem;

const std::string& Pipe()
{
    static const std::string pipe = [] {
        std::signal(SIGPIPE, SIG_IGN);
        std::string folder = (fs::temp_directory_path() / "mirvane-endless-XXXXXX").string();
        if (!mkdtemp(folder.data()))
            std::abort();
        const std::string path = folder + "/endless";
        if (mkfifo(path.c_str(), 0600) != 0)
            std::abort();
        return path;
    }();
    // Registered once the path is made, so that it runs before the path goes.
    static const bool removedAtExit = std::atexit([] {
        std::error_code ec;
        fs::remove_all(fs::path(Pipe()).parent_path(), ec);
    }) == 0;
    (void)removedAtExit;
    return pipe;
}

// Writes `first`, then `block` forever, until told to stop.
class EndlessWriter {
public:
    EndlessWriter(std::string first, std::string block)
    {
        // Held open for reading too, so that neither side waits to open.
        fd_ = ::open(Pipe().c_str(), O_RDWR | O_NONBLOCK);
        if (fd_ < 0)
            std::abort();
#ifdef F_SETPIPE_SZ
        // Fewer turns between writer and reader on a busy machine.
        (void)::fcntl(fd_, F_SETPIPE_SZ, 1 << 20);
#endif
        writer_ = std::thread([this, first = std::move(first), block = std::move(block)] {
            std::string_view pending = first;
            while (!stop_) {
                if (pending.empty())
                    pending = block;
                pollfd ready{fd_, POLLOUT, 0};
                if (::poll(&ready, 1, 10) <= 0)
                    continue;
                const ssize_t n = ::write(fd_, pending.data(), pending.size());
                if (n > 0)
                    pending.remove_prefix(static_cast<std::size_t>(n));
            }
        });
    }
    ~EndlessWriter()
    {
        stop_ = true;
        writer_.join();
        ::close(fd_); // what was left unread goes with the pipe's last end
    }
    EndlessWriter(const EndlessWriter&) = delete;
    EndlessWriter& operator=(const EndlessWriter&) = delete;

private:
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::thread writer_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string first(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string line;
    for (char c : first) {
        if (c != '\r' && c != '\n' && c != '\0')
            line += c;
    }
    if (line.empty())
        line.push_back('x');
    // The line repeated, whole, to a block worth copying at once.
    std::string block;
    while (block.size() < (std::size_t{1} << 16))
        block += line;
    mirvane::ResetKeyNumbers();
    if (data[0] & 1) {
        std::size_t given = 0; // bytes of the stream given so far
        mirvane::LineSource endless(
            [&](char* into, std::size_t room) {
                // The whole room, a piece of the input or of the line at a time.
                for (std::size_t filled = 0; filled < room;) {
                    const bool inFirst = given < first.size();
                    const std::string& source = inFirst ? first : block;
                    const std::size_t from = inFirst ? given : (given - first.size()) % block.size();
                    const std::size_t count = std::min(room - filled, source.size() - from);
                    std::memcpy(into + filled, source.data() + from, count);
                    filled += count;
                    given += count;
                }
                return room;
            },
            [&given] { given = 0; });
        mirvane::Test test;
        mirvane::TestFileReader reader(test, {});
        try {
            reader.LoadFile(endless);
        } catch (const mirvane::LineSource::LineTooLong&) {
        }
        return 0;
    }
    EndlessWriter writer(first, block);
    std::string bytes;
    if (mirvane::ReadFileBytes(Pipe(), bytes, UINTMAX_MAX, mirvane::FileContent::Text))
        return 0;
    try {
        (void)mirvane::ImportQuiz(mirvane::DetectQuizFormat(bytes, "endless"), bytes, "endless");
    } catch (const std::exception&) {
    }
    return 0;
}
