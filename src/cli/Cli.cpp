#include "cli/Cli.h"

#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "model/Test.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <ostream>

namespace mirvane {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitFailure = 2;

constexpr const char* kUsage =
    "Использование:\n"
    "  mirvane-cli resave IN.q OUT.q\n"
    "      прочитать тест и записать его заново\n";

std::string OneLine(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.push_back(' ');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

int Usage(std::ostream& err)
{
    err << kUsage;
    return kExitUsage;
}

// Reads IN with a fresh key counter, printing every reader message as
// "IN:LINE: TEXT". False when the file cannot be read or is not a test file.
bool LoadInput(const std::string& path, Test& test, std::ostream& err)
{
    std::string bytes;
    if (auto error = ReadFileBytes(path, bytes)) {
        err << *error << '\n';
        return false;
    }
    ResetKeyNumbers();
    TestFileReader reader(test, [&](const ReaderMessage& m) {
        if (m.Line > 0)
            err << path << ':' << m.Line << ": " << OneLine(m.Text) << '\n';
        else
            err << path << ": " << OneLine(m.Text) << '\n';
    });
    return reader.LoadFile(bytes);
}

bool WriteOutput(const std::string& path, const std::string& bytes, std::ostream& err)
{
    if (auto error = WriteFileReplacing(path, bytes)) {
        err << *error << '\n';
        return false;
    }
    return true;
}

int Resave(const std::vector<std::string>& args, std::ostream& err)
{
    if (args.size() != 3)
        return Usage(err);
    Test test;
    if (!LoadInput(args[1], test, err))
        return kExitFailure;
    const std::string bytes = WriteTestFile(test, DocumentOrder::FromCollections(test));
    return WriteOutput(args[2], bytes, err) ? kExitOk : kExitFailure;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    (void)out;
    if (args.empty())
        return Usage(err);
    const std::string& command = args[0];
    if (command == "resave")
        return Resave(args, err);
    return Usage(err);
}

} // namespace mirvane
