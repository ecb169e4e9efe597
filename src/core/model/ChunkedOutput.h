#pragma once
// Output produced in chunks: a writer appends to the buffer and hands it to
// the sink whenever it has grown past the chunk size, so a large file never
// needs the whole of its bytes in memory at once.
#include <functional>
#include <string>
#include <string_view>

namespace mirvane {

using ChunkSink = std::function<void(std::string_view)>;

class ChunkedOutput {
public:
    static constexpr std::size_t kChunkSize = 1 << 16;

    explicit ChunkedOutput(const ChunkSink& sink) : sink_(sink) { buffer_.reserve(kChunkSize * 2); }
    ChunkedOutput(const ChunkedOutput&) = delete;
    ChunkedOutput& operator=(const ChunkedOutput&) = delete;
    ~ChunkedOutput() = default;

    std::string& Buffer() { return buffer_; }

    // Passes the buffer on once it holds a chunk; call between items.
    void Pass()
    {
        if (buffer_.size() >= kChunkSize)
            Flush();
    }

    // Passes on whatever is left; call once at the end.
    void Flush()
    {
        if (!buffer_.empty())
            sink_(buffer_);
        buffer_.clear();
    }

private:
    const ChunkSink& sink_;
    std::string buffer_;
};

// Collects everything a chunked writer produces into one string.
inline std::string CollectChunks(const std::function<void(const ChunkSink&)>& write)
{
    std::string all;
    write([&all](std::string_view chunk) { all.append(chunk); });
    return all;
}

} // namespace mirvane
