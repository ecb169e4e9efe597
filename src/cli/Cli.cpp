#include "cli/Cli.h"

#include "check/StructureCheck.h"
#include "document/TestDocument.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/KeyCounter.h"
#include "model/NodeKey.h"
#include "model/Test.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <memory>
#include <ostream>

namespace mirvane {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFinding = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFailure = 2;

constexpr const char* kUsage =
    "Использование:\n"
    "  mirvane-cli resave IN.q OUT.q\n"
    "      прочитать тест и записать его заново\n"
    "  mirvane-cli check IN.q [IN2.q ...]\n"
    "      проверить структуру теста (0: ошибок нет, 1: найдена ошибка)\n"
    "  mirvane-cli html IN.q OUT.htm\n"
    "      экспорт в HTML для версии 2.5\n"
    "  mirvane-cli text IN.q OUT.txt [--content 0|1|2|3] [--codepage oem|ansi]\n"
    "      экспорт в текстовый файл (по умолчанию: только вопросы, кодировка WINDOWS)\n";

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
            err << path << ':' << m.Line << ": " << JoinLines(m.Text) << '\n';
        else
            err << path << ": " << JoinLines(m.Text) << '\n';
    });
    return reader.LoadFile(bytes);
}

// Reads IN, then writes OUT with `write`, which gets the test in the order
// read and the sink for the bytes.
using Writer = std::function<void(const Test&, const DocumentOrder&, const ChunkSink&)>;

// An export never replaces its own input; resaving a test onto itself is
// what `resave` is for.
enum class OntoInput { Refused, Allowed };

int Convert(const std::string& in, const std::string& out, const Writer& write, std::ostream& err,
            OntoInput ontoInput = OntoInput::Refused)
{
    if (ontoInput == OntoInput::Refused && IsSameFile(in, out)) {
        err << SameFileRefusal(out) << '\n';
        return kExitFailure;
    }
    auto test = std::make_unique<Test>();
    if (!LoadInput(in, *test, err))
        return kExitFailure;
    const TestDocument document(std::move(test));
    if (auto error = WriteFileReplacing(out, [&](const ChunkSink& sink) {
            write(document.Model(), document.Order(), sink);
        })) {
        err << *error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int Resave(const std::vector<std::string>& args, std::ostream& err)
{
    if (args.size() != 3)
        return Usage(err);
    return Convert(args[1], args[2],
                   [](const Test& test, const DocumentOrder& order, const ChunkSink& sink) {
                       WriteTestFile(test, order, sink);
                   },
                   err, OntoInput::Allowed);
}

// Where a finding lies, by 1-based positions in the order read.
std::string FindingPlace(const Test& test, const std::string& key)
{
    if (key == kMarksKey)
        return "marks: ";
    if (key == kParametersKey)
        return "test: ";
    std::size_t divisionNumber = 0;
    for (const Division& d : test.Divisions) {
        ++divisionNumber;
        if (d.Key == key)
            return "division " + std::to_string(divisionNumber) + ": ";
        std::size_t questionNumber = 0;
        for (const Question& q : d.Questions) {
            ++questionNumber;
            if (q.Key == key)
                return "division " + std::to_string(divisionNumber) + ", question " +
                       std::to_string(questionNumber) + ": ";
        }
    }
    return {};
}

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        return Usage(err);
    const bool several = args.size() > 2;
    bool unreadable = false;
    bool found = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        Test test;
        if (!LoadInput(args[i], test, err)) {
            unreadable = true;
            continue;
        }
        const CheckFinding finding = CheckStructure(test);
        if (several)
            out << args[i] << ": ";
        if (finding.Found) {
            found = true;
            out << FindingPlace(test, finding.NodeKey);
        }
        out << JoinLines(finding.Message) << '\n';
    }
    return unreadable ? kExitFailure : found ? kExitFinding : kExitOk;
}

int Html(const std::vector<std::string>& args, std::ostream& err)
{
    if (args.size() != 3)
        return Usage(err);
    const std::string& out = args[2];
    return Convert(args[1], out,
                   [&out](const Test& test, const DocumentOrder& order, const ChunkSink& sink) {
                       WriteHtmlPage(test, order, out, sink);
                   },
                   err);
}

int Text(const std::vector<std::string>& args, std::ostream& err)
{
    std::vector<std::string> files;
    TextContent content = TextContent::QuestionsOnly;
    const CodePage* page = &CodePage::Windows();
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--content" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v.size() != 1 || v[0] < '0' || v[0] > '3')
                return Usage(err);
            content = static_cast<TextContent>(v[0] - '0');
        } else if (a == "--codepage" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v == "oem")
                page = &CodePage::Dos();
            else if (v == "ansi")
                page = &CodePage::Windows();
            else
                return Usage(err);
        } else if (a.rfind("--", 0) == 0) {
            return Usage(err);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2)
        return Usage(err);
    return Convert(files[0], files[1],
                   [content, page](const Test& test, const DocumentOrder& order, const ChunkSink& sink) {
                       WriteTextExport(test, order, content, *page, sink);
                   },
                   err);
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return Usage(err);
    const std::string& command = args[0];
    if (command == "resave")
        return Resave(args, err);
    if (command == "check")
        return Check(args, out, err);
    if (command == "html")
        return Html(args, err);
    if (command == "text")
        return Text(args, err);
    return Usage(err);
}

} // namespace mirvane
