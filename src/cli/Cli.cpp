#include "cli/Cli.h"

#include "cli/CliInput.h"
#include "cli/FindingsCommands.h"

#include "check/StructureCheck.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "interchange/Interchange.h"
#include "cli/PdfSheet.h"
#include "model/CodePage.h"
#include "model/EncodingGuess.h"
#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/KeyCounter.h"
#include "model/NodeKey.h"
#include "model/Test.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
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
    "  mirvane-cli check [-r] IN.q|ПАПКА [IN2.q ...]\n"
    "      проверить структуру теста (0: ошибок нет, 1: найдена ошибка);\n"
    "      в папке проверяются все файлы .q (с -r и во вложенных папках)\n"
    "  mirvane-cli check --all [-r] [--format text|json] [--no-warn ВИД|all] IN.q|ПАПКА ...\n"
    "      все ошибки и предупреждения со строками файла (1: найдена ошибка);\n"
    "      виды предупреждений: same-question, same-answers, mark-never-given,\n"
    "      best-in-place, nothing-asked\n"
    "  mirvane-cli stats IN.q [--format text|json]\n"
    "      сводка: разделы, суммы баллов, оценки, места лучших ответов\n"
    "  mirvane-cli html IN.q OUT.htm\n"
    "      экспорт в HTML для версии 2.5\n"
    "  mirvane-cli text IN.q OUT.txt [--content 0|1|2|3] [--codepage oem|ansi]\n"
    "      экспорт в текстовый файл (по умолчанию: только вопросы, кодировка WINDOWS)\n"
    "  mirvane-cli export --to moodle-xml|gift|aiken|pdf IN.q OUT [--content 0|1|2|3]\n"
    "      экспорт в формат учебных платформ (Moodle XML, GIFT, Aiken) или лист\n"
    "      для печати в PDF (--content: что печатать, как у text)\n"
    "  mirvane-cli import --from moodle-xml|gift|aiken IN OUT.q [--force]\n"
    "      импорт вопросов с выбором ответа; существующий OUT.q заменяется\n"
    "      только с --force\n"
    "  mirvane-cli --help | --version\n"
    "Каждая команда принимает --encoding auto|cp866|utf-8|cp1251: кодировка читаемых\n"
    "тестов (по умолчанию cp866; auto — угадать по содержимому).\n";

// What was wrong, then the usage.
int Usage(std::ostream& err, const std::string& problem = {})
{
    if (!problem.empty())
        err << "mirvane-cli: " << problem << '\n';
    err << kUsage;
    return kExitUsage;
}

// Reads IN, then writes OUT with `write`, which gets the test, its order as
// read (built when first asked for) and the sink for the bytes.
using OrderRead = std::function<const DocumentOrder&()>;
using Writer = std::function<void(const Test&, const OrderRead&, const ChunkSink&)>;

// An export never replaces its own input; resaving a test onto itself is
// what `resave` is for.
enum class OntoInput { Refused, Allowed };

int Convert(const std::string& in, const std::string& out, const Writer& write, std::ostream& err,
            const InputEncoding& input, OntoInput ontoInput = OntoInput::Refused)
{
    if (ontoInput == OntoInput::Refused && IsSameFile(in, out)) {
        err << SameFileRefusal(out) << '\n';
        return kExitFailure;
    }
    auto test = std::make_unique<Test>();
    if (!LoadInput(in, *test, err, input))
        return kExitFailure;
    // A test just read is in the order of its collections; the order is
    // built only for a writer that asks for it.
    std::optional<DocumentOrder> order;
    auto orderRead = [&]() -> const DocumentOrder& {
        if (!order)
            order = DocumentOrder::FromCollections(*test);
        return *order;
    };
    if (auto error = WriteFileReplacing(out, [&](const ChunkSink& sink) { write(*test, orderRead, sink); })) {
        err << *error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int Resave(const std::vector<std::string>& args, std::ostream& err, const InputEncoding& input)
{
    if (args.size() != 3)
        return Usage(err, "resave takes an input and an output file");
    return Convert(args[1], args[2],
                   [](const Test& test, const OrderRead&, const ChunkSink& sink) { WriteTestFileAsRead(test, sink); },
                   err, input, OntoInput::Allowed);
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

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const InputEncoding& input)
{
    std::vector<std::string> named;
    bool recursive = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-r")
            recursive = true;
        else
            named.push_back(args[i]);
    }
    if (named.empty())
        return Usage(err, "check takes at least one file or folder");
    const std::vector<std::string> files = CheckedFiles(named, recursive);
    const bool several = files.size() > 1 || files.size() != named.size();
    bool unreadable = false;
    bool found = false;
    for (const std::string& file : files) {
        Test test;
        if (!LoadInput(file, test, err, input)) {
            unreadable = true;
            continue;
        }
        const CheckFinding finding = CheckStructure(test);
        if (several)
            out << file << ": ";
        if (finding.Found) {
            found = true;
            out << FindingPlace(test, finding.NodeKey);
        }
        out << JoinLines(finding.Message) << '\n';
    }
    return unreadable ? kExitFailure : found ? kExitFinding : kExitOk;
}

int Html(const std::vector<std::string>& args, std::ostream& err, const InputEncoding& input)
{
    if (args.size() != 3)
        return Usage(err, "html takes an input and an output file");
    const std::string& out = args[2];
    return Convert(args[1], out,
                   [&out](const Test& test, const OrderRead& orderRead, const ChunkSink& sink) {
                       const DocumentOrder& order = orderRead();
                       WriteHtmlPage(test, order, out, sink);
                   },
                   err, input);
}

// "--to FORMAT" or "--from FORMAT" and two files, in any order.
struct FormatAndFiles {
    std::string format;
    std::vector<std::string> files;
    bool force = false;
    TextContent content = TextContent::QuestionsOnly;
};

std::optional<FormatAndFiles> ReadFormatArgs(const std::vector<std::string>& args, const std::string& option,
                                             std::ostream& err, int& status)
{
    FormatAndFiles read;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == option && i + 1 < args.size()) {
            read.format = args[++i];
        } else if (args[i] == "--force" && option == "--from") {
            read.force = true;
        } else if (args[i] == "--content" && option == "--to" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v.size() != 1 || v[0] < '0' || v[0] > '3') {
                status = Usage(err, "--content takes 0, 1, 2 or 3");
                return std::nullopt;
            }
            read.content = static_cast<TextContent>(v[0] - '0');
        } else if (args[i].rfind("--", 0) == 0) {
            status = Usage(err, "unknown option '" + args[i] + "'");
            return std::nullopt;
        } else {
            read.files.push_back(args[i]);
        }
    }
    const bool pdf = option == "--to" && read.format == "pdf";
    if (read.format != "moodle-xml" && read.format != "gift" && read.format != "aiken" && !pdf) {
        status = Usage(err, option == "--to" ? "--to takes moodle-xml, gift, aiken or pdf"
                                             : "--from takes moodle-xml, gift or aiken");
        return std::nullopt;
    }
    if (read.files.size() != 2) {
        status = Usage(err, args[0] + " takes an input and an output file");
        return std::nullopt;
    }
    return read;
}

int ExportPdf(const std::string& in, const std::string& out, TextContent content, std::ostream& err,
              const InputEncoding& input)
{
    if (IsSameFile(in, out)) {
        err << SameFileRefusal(out) << '\n';
        return kExitFailure;
    }
    auto test = std::make_unique<Test>();
    if (!LoadInput(in, *test, err, input))
        return kExitFailure;
    if (auto error = WritePdfSheet(*test, DocumentOrder::FromCollections(*test), content, out)) {
        err << *error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int ExportTo(const std::vector<std::string>& args, std::ostream& err, const InputEncoding& input)
{
    int status = kExitOk;
    const auto read = ReadFormatArgs(args, "--to", err, status);
    if (!read)
        return status;
    const std::string format = read->format;
    const std::string& in = read->files[0];
    if (format == "pdf")
        return ExportPdf(in, read->files[1], read->content, err, input);
    return Convert(in, read->files[1],
                   [&](const Test& test, const OrderRead& orderRead, const ChunkSink& sink) {
                       const DocumentOrder& order = orderRead();
                       const QuizExport written = format == "moodle-xml" ? ExportMoodleXml(test, order)
                                                  : format == "gift"       ? ExportGift(test, order)
                                                                           : ExportAiken(test, order);
                       sink(written.Text);
                       for (const std::string& note : written.Notes)
                           err << in << ": " << note << '\n';
                       if (written.Skipped > 0 && format != "moodle-xml")
                           err << in << ": " << written.Skipped << " вопросов пропущено: "
                               << (format == "gift" ? "в формате GIFT у вопроса не меньше двух ответов\n"
                                                    : "в формате Aiken у вопроса ровно один лучший ответ\n");
                   },
                   err, input);
}

int ImportFrom(const std::vector<std::string>& args, std::ostream& err)
{
    int status = kExitOk;
    const auto read = ReadFormatArgs(args, "--from", err, status);
    if (!read)
        return status;
    const std::string& in = read->files[0];
    const std::string& out = read->files[1];
    std::error_code ec;
    if (!read->force && std::filesystem::exists(out, ec)) {
        err << out << ": файл уже есть и не заменён (замена: --force)\n";
        return kExitFailure;
    }
    std::string bytes;
    if (auto error = ReadFileBytes(in, bytes)) {
        err << *error << '\n';
        return kExitFailure;
    }
    ResetKeyNumbers();
    const std::string stem = std::filesystem::path(in).stem().string();
    ImportedTest imported;
    try {
        imported = ImportQuiz(read->format == "moodle-xml" ? QuizFormat::MoodleXml
                              : read->format == "gift"     ? QuizFormat::Gift
                                                           : QuizFormat::Aiken,
                              bytes, stem);
    } catch (const ImportError& e) {
        err << in << ':' << e.Line() << ": " << e.what() << '\n';
        return kExitFailure;
    }
    for (const std::string& note : imported.Notes)
        err << in << ": " << note << '\n';
    const DocumentOrder order = DocumentOrder::FromCollections(*imported.Read);
    if (auto error = WriteFileReplacing(out, [&](const ChunkSink& sink) { WriteTestFile(*imported.Read, order, sink); })) {
        err << *error << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int Text(const std::vector<std::string>& args, std::ostream& err, const InputEncoding& input)
{
    std::vector<std::string> files;
    TextContent content = TextContent::QuestionsOnly;
    const CodePage* page = &CodePage::Windows();
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--content" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v.size() != 1 || v[0] < '0' || v[0] > '3')
                return Usage(err, "--content takes 0, 1, 2 or 3");
            content = static_cast<TextContent>(v[0] - '0');
        } else if (a == "--codepage" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v == "oem")
                page = &CodePage::Dos();
            else if (v == "ansi")
                page = &CodePage::Windows();
            else
                return Usage(err, "--codepage takes oem or ansi");
        } else if (a.rfind("--", 0) == 0) {
            return Usage(err, "unknown option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2)
        return Usage(err, "text takes an input and an output file");
    return Convert(files[0], files[1],
                   [content, page](const Test& test, const OrderRead& orderRead, const ChunkSink& sink) {
                       const DocumentOrder& order = orderRead();
                       WriteTextExport(test, order, content, *page, sink);
                   },
                   err, input);
}

} // namespace

int RunCli(const std::vector<std::string>& given, std::ostream& out, std::ostream& err)
{
    // --encoding may stand anywhere after the command.
    std::vector<std::string> args;
    InputEncoding input;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (given[i] != "--encoding" || i == 0) {
            args.push_back(given[i]);
            continue;
        }
        const std::string value = i + 1 < given.size() ? given[++i] : std::string();
        if (value == "auto")
            input.guess = true;
        else if (value == "cp866")
            input.encoding = TextEncoding::Cp866;
        else if (value == "utf-8")
            input.encoding = TextEncoding::Utf8;
        else if (value == "cp1251")
            input.encoding = TextEncoding::Cp1251;
        else
            return Usage(err, "--encoding takes auto, cp866, utf-8 or cp1251");
    }
    if (args.empty())
        return Usage(err, "no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "--version") {
        out << "mirvane-cli " << MIRVANE_VERSION << '\n';
        return kExitOk;
    }
    if (command == "resave")
        return Resave(args, err, input);
    if (command == "check" && std::find(args.begin() + 1, args.end(), "--all") != args.end())
        return CheckAll(args, out, err, input);
    if (command == "check")
        return Check(args, out, err, input);
    if (command == "stats")
        return Stats(args, out, err, input);
    if (command == "html")
        return Html(args, err, input);
    if (command == "text")
        return Text(args, err, input);
    if (command == "export")
        return ExportTo(args, err, input);
    if (command == "import")
        return ImportFrom(args, err);
    return Usage(err, "unknown command '" + command + "'");
}

} // namespace mirvane
