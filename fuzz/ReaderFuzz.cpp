// Feeds arbitrary bytes to the test-file reader. The first two bytes choose a
// block size of 1 to 300 bytes; the rest is the file. Read from memory whole
// and read in blocks of that size (so lines run over blocks and a CR ends a
// block), the file gives the same lines, the same messages and the same test.
// A file that was read and written once comes back byte for byte when it is
// read and written again: resaving is idempotent.
#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "model/Test.h"
#include "testfile/LineSource.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Reading {
    bool IsTestFile = false;
    std::vector<mirvane::ReaderMessage> Messages;
    std::string Saved;
};

Reading Read(mirvane::LineSource& source)
{
    mirvane::ResetKeyNumbers();
    Reading reading;
    mirvane::Test test;
    mirvane::TestFileReader reader(test, [&](const mirvane::ReaderMessage& m) { reading.Messages.push_back(m); });
    reading.IsTestFile = reader.LoadFile(source);
    reading.Saved = mirvane::WriteTestFile(test, mirvane::DocumentOrder::FromCollections(test));
    return reading;
}

// The bytes as a file read in blocks.
class BlockFile {
public:
    BlockFile(std::string_view bytes, std::size_t blockSize)
        : bytes_(bytes),
          source_([this](char* into, std::size_t size) { return Take(into, size); }, [this] { at_ = 0; }, blockSize)
    {
    }
    mirvane::LineSource& Source() { return source_; }

private:
    std::size_t Take(char* into, std::size_t size)
    {
        const std::size_t n = std::min(size, bytes_.size() - at_);
        std::memcpy(into, bytes_.data() + at_, n);
        at_ += n;
        return n;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    mirvane::LineSource source_;
};

bool SameMessages(const std::vector<mirvane::ReaderMessage>& a, const std::vector<mirvane::ReaderMessage>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.Line == y.Line && x.Text == y.Text;
    });
}

void CompareLines(std::string_view bytes, std::size_t blockSize)
{
    mirvane::LineSource whole(bytes);
    BlockFile file(bytes, blockSize);
    std::string_view a;
    std::string_view b;
    for (;;) {
        const bool moreWhole = whole.Next(a);
        const bool moreBlocks = file.Source().Next(b);
        if (moreWhole != moreBlocks || whole.LineNumber() != file.Source().LineNumber())
            __builtin_trap();
        if (!moreWhole)
            return;
        if (a != b)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t blockSize = (data[0] | (std::size_t{data[1]} << 8)) % 300 + 1;
    const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);

    CompareLines(input, blockSize);
    mirvane::LineSource whole(input);
    const Reading once = Read(whole);
    BlockFile file(input, blockSize);
    const Reading inBlocks = Read(file.Source());
    if (inBlocks.IsTestFile != once.IsTestFile || !SameMessages(inBlocks.Messages, once.Messages) ||
        inBlocks.Saved != once.Saved)
        __builtin_trap();
    if (!once.IsTestFile)
        return 0;

    mirvane::LineSource saved(once.Saved);
    const Reading twice = Read(saved);
    if (!twice.IsTestFile || twice.Saved != once.Saved)
        __builtin_trap();
    return 0;
}
