// Runs the command-line tool on any words (the input split at zero bytes)
// in a scratch folder of its own that holds a test, a GIFT and a Moodle XML
// file to name. Beyond not crashing: a run that ends with status 2 (a usage
// error, a file that cannot be read or written) leaves the folder as it was.
// Words that could name a place outside the folder are not tried.
#include "cli/Cli.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Folder = std::map<std::string, std::string>; // name, bytes

const Folder& Inputs()
{
    static const Folder inputs = {
        {"a.q", "Title\r\n)t 30\r\n)<\r\nfail\r\n)>10\r\nok\r\n):Div\r\n)?\r\nQuestion\r\n)! 1\r\nyes\r\n)! 0\r\nno\r\n)/\r\n):\r\n"},
        {"b.gift", "$CATEGORY: $course$/Div\n\n::q::Question{=yes ~no}\n"},
        {"c.xml", "<quiz><question type=\"multichoice\"><questiontext><text>Q</text></questiontext>"
                  "<answer fraction=\"100\"><text>yes</text></answer><answer fraction=\"0\"><text>no</text></answer>"
                  "</question></quiz>"},
    };
    return inputs;
}

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

Folder Listing(const fs::path& folder)
{
    Folder listing;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        listing[entry.path().filename().string()] =
            entry.is_regular_file() ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string("<folder>");
    }
    return listing;
}

// The scratch folder, made once and made the current one, its inputs
// written afresh before each run.
const fs::path& Scratch()
{
    static const fs::path scratch = [] {
        std::string pattern = (fs::temp_directory_path() / "mirvane-cli-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        fs::current_path(pattern);
        return fs::path(pattern);
    }();
    // Registered once the path is made, so that it runs before the path goes.
    static const bool removedAtExit = std::atexit([] {
        std::error_code ec;
        fs::remove_all(Scratch(), ec);
    }) == 0;
    (void)removedAtExit;
    return scratch;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words;
    for (std::size_t start = 0; start <= bytes.size() && words.size() < 16;) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        words.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    for (const std::string& word : words) {
        if (word.find('/') != std::string::npos || word.rfind("..", 0) == 0)
            return 0;
    }
    const fs::path& scratch = Scratch();
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch))
        fs::remove_all(entry.path());
    for (const auto& [name, content] : Inputs())
        Write(scratch / name, content);

    std::ostringstream out, err;
    const int status = mirvane::RunCli(words, out, err);
    if (status != 0 && status != 1 && status != 2)
        __builtin_trap();
    if (status == 2 && Listing(scratch) != Inputs())
        __builtin_trap();
    return 0;
}
