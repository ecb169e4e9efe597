#include "cli/CliInput.h"

#include "cli/LargeHeap.h"
#include "model/KeyCounter.h"
#include "model/Misc.h"
#include "testfile/FileIo.h"
#include "model/Test.h"
#include "testfile/TestFileLoading.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace mirvane {

namespace {

// The ".q" files of `folder` (and of its subfolders when `recursive`) into
// `found`; a folder that cannot be read is reported, and false is returned
// once the rest is taken.
bool CollectTests(const std::filesystem::path& folder, bool recursive, std::vector<std::string>& found,
                  std::ostream& err)
{
    namespace fs = std::filesystem;
    bool complete = true;
    auto unreadable = [&](const fs::path& which, const std::error_code& ec) {
        Say(err, "Не удалось прочитать папку «" + which.string() + "»: " + ErrorReason(ec.value()));
        complete = false;
    };
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    if (ec) {
        unreadable(folder, ec);
        return false;
    }
    std::vector<fs::path> subfolders;
    for (; entries != fs::directory_iterator(); entries.increment(ec)) {
        if (ec)
            break;
        const fs::directory_entry& entry = *entries;
        std::error_code e;
        if (entry.is_regular_file(e) && entry.path().extension() == ".q")
            found.push_back(entry.path().string());
        else if (recursive && !entry.is_symlink(e) && entry.is_directory(e))
            subfolders.push_back(entry.path());
    }
    if (ec)
        unreadable(folder, ec);
    for (const fs::path& subfolder : subfolders)
        complete = CollectTests(subfolder, recursive, found, err) && complete;
    return complete;
}

} // namespace

std::uintmax_t ReadLimit(std::uintmax_t memoryPerByte) { return MemoryAvailable() / memoryPerByte; }

void AppendPrintable(std::string& shown, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080..U+009F
            shown += "\\u00";
            shown += kHex[next >> 4];
            shown += kHex[next & 15];
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            shown += "\\x";
            shown += kHex[c >> 4];
            shown += kHex[c & 15];
        } else {
            shown += static_cast<char>(c);
        }
    }
}

std::string Printable(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    AppendPrintable(shown, text);
    return shown;
}

void Say(std::ostream& to, std::string_view line) { to << Printable(line) << '\n'; }

bool LoadInput(const std::string& path, Test& test, std::ostream& err, const InputEncoding& input,
               SourceLines* lines)
{
    ResetKeyNumbers();
    TestFileLoading how;
    if (input.guess)
        how.Encoding.Encoding = std::nullopt;
    else
        how.Encoding.Encoding = input.encoding;
    how.Messages = [&](const ReaderMessage& m) {
        const std::string where = m.Line > 0 ? path + ':' + std::to_string(m.Line) : path;
        Say(err, where + ": " + JoinLines(m.Text));
    };
    how.Lines = lines;
    how.StreamedLimit = ReadLimit(kMemoryPerByteRead);
    how.HeldLimit = ReadLimit(kMemoryPerByteHeld);
    // Only a file in the format's own code page is read line by line.
    const bool streamed = !input.guess && input.encoding == TextEncoding::Cp866;
    std::error_code sizeUnknown;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeUnknown);
    if (!sizeUnknown && size <= (streamed ? how.StreamedLimit : how.HeldLimit))
        PrepareHeapForTest(size);
    LoadedTestFile loaded = LoadTestFile(path, how);
    test = std::move(*loaded.Read);
    if (!loaded.Error)
        return true;
    if (loaded.Error->Refusal == ReadRefusal::NotATestFile)
        Say(err, path + ": не файл теста: " + JoinLines(loaded.Error->Message));
    else
        Say(err, loaded.Error->Message);
    return false;
}

bool CheckedFiles(const std::vector<std::string>& named, bool recursive, std::vector<std::string>& files,
                  std::ostream& err)
{
    namespace fs = std::filesystem;
    bool complete = true;
    for (const std::string& name : named) {
        std::error_code ec;
        if (!fs::is_directory(name, ec)) {
            files.push_back(name);
            continue;
        }
        std::vector<std::string> found;
        complete = CollectTests(name, recursive, found, err) && complete;
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return complete;
}

} // namespace mirvane
