#include "cli/Cli.h"

#include "cli/CliInput.h"
#include "cli/FindingsCommands.h"
#include "cli/SpellCommand.h"

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
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <set>

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
    "  mirvane-cli spell IN.q [IN2.q ...] [--dict FILE]\n"
    "      слова, которых нет в словарях, с номером строки и вариантами исправления\n"
    "      (1: найдено незнакомое слово); --dict — свой список слов, по слову в строке\n"
    "  mirvane-cli html IN.q OUT.htm\n"
    "      экспорт в HTML для версии 2.5\n"
    "  mirvane-cli text IN.q OUT.txt [--content 0|1|2|3] [--codepage oem|ansi|utf-8]\n"
    "      экспорт в текстовый файл (по умолчанию: только вопросы, кодировка WINDOWS)\n"
    "  mirvane-cli export --to moodle-xml|gift|aiken|text|pdf IN.q OUT [--content 0|1|2|3]\n"
    "      экспорт в формат учебных платформ (Moodle XML, GIFT, Aiken), в текст\n"
    "      с разметкой (UTF-8) или лист для печати в PDF (--content: что печатать,\n"
    "      как у text)\n"
    "  mirvane-cli import --from moodle-xml|gift|aiken|text|docx|odt|auto IN OUT.q [--force]\n"
    "      импорт вопросов с выбором ответа (text, docx, odt: текст с разметкой,\n"
    "      документ Word или OpenDocument; auto: по расширению и содержимому);\n"
    "      существующий OUT.q заменяется только с --force\n"
    "  mirvane-cli --help | --version\n"
    "Каждая команда принимает --encoding auto|cp866|utf-8|cp1251: кодировка читаемых\n"
    "тестов (по умолчанию cp866; auto — угадать по содержимому).\n"
    "Параметры можно давать в любом месте; после -- всё — имена файлов, даже\n"
    "начинающиеся с -.\n";

// What was wrong, then the usage.
int Usage(std::ostream& err, const std::string& problem = {})
{
    if (!problem.empty())
        err << "mirvane-cli: " << Printable(problem) << '\n';
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
        Say(err, SameFileRefusal(out));
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
        Say(err, *error);
        return kExitFailure;
    }
    return kExitOk;
}

const std::set<std::string> kValueOptions = {"--encoding", "--content", "--codepage", "--to", "--from", "--format",
                                             "--no-warn", "--dict"};
const std::set<std::string> kFlags = {"-r", "--all", "--force", "--help", "-h", "--version"};

// The options each command takes besides --encoding, --help and --version.
const std::map<std::string, std::set<std::string>> kCommandOptions = {
    {"resave", {}},
    {"check", {"-r", "--all", "--format", "--no-warn"}},
    {"stats", {"--format"}},
    {"spell", {"--dict"}},
    {"html", {}},
    {"text", {"--content", "--codepage"}},
    {"export", {"--to", "--content"}},
    {"import", {"--from", "--force"}},
};

// Nothing when the words make a command line; otherwise what is wrong.
std::optional<std::string> ParseCommandLine(const std::vector<std::string>& words, CommandLine& line)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && word.size() > 1 && word[0] == '-') {
            if (kFlags.count(word)) {
                line.flags.insert(word);
            } else if (kValueOptions.count(word)) {
                if (i + 1 == words.size())
                    return word + " needs a value";
                line.values[word].push_back(words[++i]);
            } else {
                return "unknown option '" + word + "'";
            }
        } else if (line.command.empty()) {
            line.command = word;
        } else {
            line.names.push_back(word);
        }
    }
    return std::nullopt;
}

int Resave(const CommandLine& line, std::ostream& err, const InputEncoding& input)
{
    if (line.names.size() != 2)
        return Usage(err, "resave takes an input and an output file");
    return Convert(line.names[0], line.names[1],
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

int Check(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input)
{
    if (line.Value("--format") || line.Value("--no-warn"))
        return Usage(err, "--format and --no-warn go with check --all");
    if (line.names.empty())
        return Usage(err, "check takes at least one file or folder");
    std::vector<std::string> files;
    bool unreadable = !CheckedFiles(line.names, line.Has("-r"), files, err);
    // A result names its file unless one file was named and checked.
    const bool several = line.names.size() > 1 || files.size() != 1 || files[0] != line.names[0];
    bool found = false;
    for (const std::string& file : files) {
        Test test;
        if (!LoadInput(file, test, err, input)) {
            unreadable = true;
            continue;
        }
        const CheckFinding finding = CheckStructure(test);
        std::string result = several ? file + ": " : std::string();
        if (finding.Found) {
            found = true;
            result += FindingPlace(test, finding.NodeKey);
        }
        Say(out, result + JoinLines(finding.Message));
    }
    return unreadable ? kExitFailure : found ? kExitFinding : kExitOk;
}

int Html(const CommandLine& line, std::ostream& err, const InputEncoding& input)
{
    if (line.names.size() != 2)
        return Usage(err, "html takes an input and an output file");
    const std::string& out = line.names[1];
    return Convert(line.names[0], out,
                   [&out](const Test& test, const OrderRead& orderRead, const ChunkSink& sink) {
                       const DocumentOrder& order = orderRead();
                       WriteHtmlPage(test, order, out, sink);
                   },
                   err, input);
}

// --content 0|1|2|3, questions only when not given.
std::optional<TextContent> ReadContent(const CommandLine& line, std::ostream& err, int& status)
{
    const auto value = line.Value("--content");
    if (!value)
        return TextContent::QuestionsOnly;
    if (value->size() != 1 || (*value)[0] < '0' || (*value)[0] > '3') {
        status = Usage(err, "--content takes 0, 1, 2 or 3");
        return std::nullopt;
    }
    return static_cast<TextContent>((*value)[0] - '0');
}

// The format of --to or --from, checked, with two files.
std::optional<std::string> ReadFormat(const CommandLine& line, const std::string& option, std::ostream& err,
                                      int& status)
{
    const std::string format = line.Value(option).value_or("");
    const std::set<std::string> formats = option == "--to"
                                              ? std::set<std::string>{"moodle-xml", "gift", "aiken", "text", "pdf"}
                                              : std::set<std::string>{"moodle-xml", "gift", "aiken", "text", "docx", "odt", "auto"};
    if (!formats.count(format)) {
        status = Usage(err, option == "--to" ? "--to takes moodle-xml, gift, aiken, text or pdf"
                                             : "--from takes moodle-xml, gift, aiken, text, docx, odt or auto");
        return std::nullopt;
    }
    if (line.names.size() != 2) {
        status = Usage(err, line.command + " takes an input and an output file");
        return std::nullopt;
    }
    return format;
}

int ExportPdf(const std::string& in, const std::string& out, TextContent content, std::ostream& err,
              const InputEncoding& input)
{
    if (IsSameFile(in, out)) {
        Say(err, SameFileRefusal(out));
        return kExitFailure;
    }
    auto test = std::make_unique<Test>();
    if (!LoadInput(in, *test, err, input))
        return kExitFailure;
    if (auto error = WritePdfSheet(*test, DocumentOrder::FromCollections(*test), content, out)) {
        Say(err, *error);
        return kExitFailure;
    }
    return kExitOk;
}

int ExportTo(const CommandLine& line, std::ostream& err, const InputEncoding& input)
{
    int status = kExitOk;
    const auto format = ReadFormat(line, "--to", err, status);
    if (!format)
        return status;
    const auto content = ReadContent(line, err, status);
    if (!content)
        return status;
    const std::string& in = line.names[0];
    if (*format == "pdf")
        return ExportPdf(in, line.names[1], *content, err, input);
    return Convert(in, line.names[1],
                   [&](const Test& test, const OrderRead& orderRead, const ChunkSink& sink) {
                       const DocumentOrder& order = orderRead();
                       if (*format == "text") {
                           sink(ExportMarkedText(test, order));
                           return;
                       }
                       const QuizExport written = *format == "moodle-xml" ? ExportMoodleXml(test, order)
                                                  : *format == "gift"       ? ExportGift(test, order)
                                                                            : ExportAiken(test, order);
                       sink(written.Text);
                       for (const std::string& note : written.Notes)
                           Say(err, in + ": " + note);
                       if (written.Skipped > 0 && *format != "moodle-xml")
                           Say(err, in + ": " + std::to_string(written.Skipped) + " вопросов пропущено: " +
                                        (*format == "gift" ? "в формате GIFT у вопроса не меньше двух ответов"
                                                           : "в формате Aiken у вопроса ровно один лучший ответ"));
                   },
                   err, input);
}

int ImportFrom(const CommandLine& line, std::ostream& err, const InputEncoding& input)
{
    int status = kExitOk;
    const auto format = ReadFormat(line, "--from", err, status);
    if (!format)
        return status;
    const std::string& in = line.names[0];
    const std::string& out = line.names[1];
    // --force replaces another file, never the one imported.
    if (IsSameFile(in, out)) {
        Say(err, "Файл «" + out + "» — это сам импортируемый файл; импорт в него не выполнен, файл не тронут");
        return kExitFailure;
    }
    std::error_code ec;
    if (!line.Has("--force") && std::filesystem::exists(out, ec)) {
        Say(err, out + ": файл уже есть и не заменён (замена: --force)");
        return kExitFailure;
    }
    try {
        // A document is a zip archive, which no text check would pass; what
        // does not begin as one is text.
        const bool document = *format == "docx" || *format == "odt" || *format == "auto";
        std::string bytes;
        if (auto error = ReadFileBytes(in, bytes, ReadLimit(kMemoryPerByteHeld),
                                       document ? FileContent::TextOrArchive : FileContent::Text)) {
            Say(err, *error);
            return kExitFailure;
        }
        ResetKeyNumbers();
        const std::string stem = std::filesystem::path(in).stem().string();
        const std::map<std::string, QuizFormat> named = {
            {"moodle-xml", QuizFormat::MoodleXml}, {"gift", QuizFormat::Gift}, {"aiken", QuizFormat::Aiken},
            {"text", QuizFormat::MarkedText},      {"docx", QuizFormat::Docx}, {"odt", QuizFormat::Odt}};
        ImportedTest imported;
        try {
            imported = ImportQuiz(*format == "auto" ? DetectQuizFormat(bytes, in) : named.at(*format), bytes, stem,
                                  // Without a choice the file's mark or its bytes tell.
                                  input.named ? std::optional<TextEncoding>(input.encoding) : std::nullopt);
        } catch (const ImportError& e) {
            // A document's failure concerns the archive, not a line.
            Say(err, in + (e.Line() > 0 ? ':' + std::to_string(e.Line()) : std::string()) + ": " + e.what());
            return kExitFailure;
        }
        for (const std::string& note : imported.Notes)
            Say(err, in + ": " + note);
        const DocumentOrder order = DocumentOrder::FromCollections(*imported.Read);
        if (auto error = WriteFileReplacing(out, [&](const ChunkSink& sink) { WriteTestFile(*imported.Read, order, sink); })) {
            Say(err, *error);
            return kExitFailure;
        }
    } catch (const std::bad_alloc&) {
        Say(err, in + ": " + std::string(kFileTooLarge));
        return kExitFailure;
    }
    return kExitOk;
}

int Text(const CommandLine& line, std::ostream& err, const InputEncoding& input)
{
    int status = kExitOk;
    const auto content = ReadContent(line, err, status);
    if (!content)
        return status;
    const CodePage* page = &CodePage::Windows();
    if (const auto value = line.Value("--codepage")) {
        if (*value == "oem")
            page = &CodePage::Dos();
        else if (*value == "utf-8")
            page = &CodePage::Utf8();
        else if (*value != "ansi")
            return Usage(err, "--codepage takes oem, ansi or utf-8");
    }
    if (line.names.size() != 2)
        return Usage(err, "text takes an input and an output file");
    return Convert(line.names[0], line.names[1],
                   [content = *content, page](const Test& test, const OrderRead& orderRead, const ChunkSink& sink) {
                       const DocumentOrder& order = orderRead();
                       WriteTextExport(test, order, content, *page, sink);
                   },
                   err, input);
}

} // namespace

int RunCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (auto problem = ParseCommandLine(words, line))
        return Usage(err, *problem);
    if (line.Has("--help") || line.Has("-h")) {
        out << kUsage;
        return kExitOk;
    }
    if (line.Has("--version")) {
        out << "mirvane-cli " << MIRVANE_VERSION << '\n';
        return kExitOk;
    }
    if (line.command.empty())
        return Usage(err, "no command given");
    const auto options = kCommandOptions.find(line.command);
    if (options == kCommandOptions.end())
        return Usage(err, "unknown command '" + Printable(line.command) + "'");
    auto foreign = [&](const std::string& option) {
        return option != "--encoding" && !options->second.count(option);
    };
    for (const std::string& flag : line.flags) {
        if (foreign(flag))
            return Usage(err, line.command + " takes no option " + flag);
    }
    for (const auto& [option, value] : line.values) {
        if (foreign(option))
            return Usage(err, line.command + " takes no option " + option);
    }
    InputEncoding input;
    if (const auto value = line.Value("--encoding")) {
        if (*value == "auto")
            input.guess = true;
        else if (*value == "cp866")
            input.encoding = TextEncoding::Cp866;
        else if (*value == "utf-8")
            input.encoding = TextEncoding::Utf8;
        else if (*value == "cp1251")
            input.encoding = TextEncoding::Cp1251;
        else
            return Usage(err, "--encoding takes auto, cp866, utf-8 or cp1251");
        input.named = !input.guess;
    }
    if (line.command == "resave")
        return Resave(line, err, input);
    if (line.command == "check" && line.Has("--all"))
        return CheckAll(line, out, err, input);
    if (line.command == "check")
        return Check(line, out, err, input);
    if (line.command == "stats")
        return Stats(line, out, err, input);
    if (line.command == "spell")
        return Spell(line, out, err, input);
    if (line.command == "html")
        return Html(line, err, input);
    if (line.command == "text")
        return Text(line, err, input);
    if (line.command == "export")
        return ExportTo(line, err, input);
    return ImportFrom(line, err, input);
}

} // namespace mirvane
