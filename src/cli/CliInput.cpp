#include "cli/CliInput.h"

#include "cli/LargeHeap.h"
#include "model/KeyCounter.h"
#include "model/Misc.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileReader.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace mirvane {

bool LoadInput(const std::string& path, Test& test, std::ostream& err, const InputEncoding& input,
               SourceLines* lines)
{
    ResetKeyNumbers();
    TestFileReader reader(test, [&](const ReaderMessage& m) {
        if (m.Line > 0)
            err << path << ':' << m.Line << ": " << JoinLines(m.Text) << '\n';
        else
            err << path << ": " << JoinLines(m.Text) << '\n';
    });
    reader.RecordLinesIn(lines);
    std::error_code sizeUnknown;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeUnknown);
    if (!sizeUnknown)
        PrepareHeapForTest(size);
    if (!input.guess && input.encoding == TextEncoding::Cp866) {
        // The format's own code page: the file is read as the reader goes,
        // never held whole beside the test.
        bool loaded = false;
        if (auto error = ReadFileLines(path, [&](LineSource& source) { loaded = reader.LoadFile(source); })) {
            err << *error << '\n';
            return false;
        }
        return loaded;
    }
    std::string bytes;
    if (auto error = ReadFileBytes(path, bytes)) {
        err << *error << '\n';
        return false;
    }
    const TextEncoding encoding = input.guess ? GuessEncoding(bytes) : input.encoding;
    if (encoding != TextEncoding::Cp866)
        bytes = ToCp866(bytes, encoding);
    return reader.LoadFile(bytes);
}

std::vector<std::string> CheckedFiles(const std::vector<std::string>& named, bool recursive)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const std::string& name : named) {
        std::error_code ec;
        if (!fs::is_directory(name, ec)) {
            files.push_back(name);
            continue;
        }
        std::vector<std::string> found;
        auto take = [&found](const fs::directory_entry& entry) {
            std::error_code e;
            if (entry.path().extension() == ".q" && entry.is_regular_file(e))
                found.push_back(entry.path().string());
        };
        if (recursive) {
            for (const auto& entry : fs::recursive_directory_iterator(name, ec))
                take(entry);
        } else {
            for (const auto& entry : fs::directory_iterator(name, ec))
                take(entry);
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

} // namespace mirvane
