// Feeds arbitrary bytes to the test-file reader. Beyond not crashing, a file
// that was read and written once must come back byte for byte when it is read
// and written again: resaving is idempotent.
#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "model/Test.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string Resave(std::string_view bytes, bool& isTestFile)
{
    mirvane::ResetKeyNumbers();
    mirvane::Test test;
    std::size_t messages = 0;
    mirvane::TestFileReader reader(test, [&](const mirvane::ReaderMessage& m) {
        messages += m.Text.size() > 0 ? 1 : 0;
    });
    isTestFile = reader.LoadFile(bytes);
    return mirvane::WriteTestFile(test, mirvane::DocumentOrder::FromCollections(test));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    bool isTestFile = false;
    const std::string once = Resave(input, isTestFile);
    if (!isTestFile)
        return 0;
    bool again = false;
    const std::string twice = Resave(once, again);
    if (!again || twice != once)
        __builtin_trap();
    return 0;
}
