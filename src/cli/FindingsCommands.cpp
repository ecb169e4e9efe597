#include "cli/FindingsCommands.h"

#include "check/TestFindings.h"
#include "check/TestSummary.h"
#include "model/Json.h"
#include "model/Misc.h"
#include "model/Test.h"
#include "testfile/SourceLines.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

namespace mirvane {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFinding = 1;
constexpr int kExitUsage = 2;

int Refuse(std::ostream& err, const std::string& problem)
{
    err << "mirvane-cli: " << problem << "\n(mirvane-cli --help: как вызывать)\n";
    return kExitUsage;
}

struct Options {
    std::vector<std::string> Files;
    bool Recursive = false;
    bool AsJson = false;
    WarningSwitches Warnings;
};

// -r, --format text|json and --no-warn NAME|all (as often as needed).
std::optional<Options> ReadOptions(const CommandLine& line, std::ostream& err, int& status)
{
    Options read;
    read.Files = line.names;
    read.Recursive = line.Has("-r");
    if (const auto format = line.Value("--format")) {
        if (*format != "text" && *format != "json") {
            status = Refuse(err, "--format takes text or json");
            return std::nullopt;
        }
        read.AsJson = *format == "json";
    }
    for (const std::string& name : line.Values("--no-warn")) {
        if (name == "all") {
            for (std::size_t k = 0; k < kWarningKinds; ++k)
                read.Warnings.Set(static_cast<WarningKind>(k), false);
        } else if (auto kind = WarningByName(name)) {
            read.Warnings.Set(*kind, false);
        } else {
            status = Refuse(err, "unknown warning '" + Printable(name) + "'");
            return std::nullopt;
        }
    }
    return read;
}

struct Placed {
    std::int64_t Line;
    const Finding* Item;
};

// The text made printable with each CR LF a blank, as JoinLines has it,
// without copying it first.
void AppendOnOneLine(std::string& out, std::string_view text)
{
    for (std::size_t from = 0;;) {
        const std::size_t lineEnd = text.find("\r\n", from);
        AppendPrintable(out, text.substr(from, lineEnd == std::string_view::npos ? lineEnd : lineEnd - from));
        if (lineEnd == std::string_view::npos)
            return;
        out += ' ';
        from = lineEnd + 2;
    }
}

} // namespace

void AppendFindingLines(std::string& out, std::string_view file, const std::vector<Finding>& findings,
                        const SourceLines& lines, bool asJson, bool& firstJson)
{
    std::vector<Placed> placed;
    placed.reserve(findings.size());
    for (const Finding& f : findings)
        placed.push_back({LineOf(f.Node, lines), &f});
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.Line < b.Line; });
    // The name is made printable or JSON once, not on every line.
    const std::string name = asJson ? Json(file) : Printable(file);
    constexpr std::size_t kLineGuess = 100;
    out.reserve(out.size() + placed.size() * (name.size() + kLineGuess));
    std::string named; // a message naming another question by its line
    for (const auto& [at, f] : placed) {
        const bool warning = f->Level == Finding::Severity::Warning;
        if (f->Other)
            named = FindingText(*f, &lines);
        const std::string_view message = f->Other ? std::string_view(named) : std::string_view(f->Message);
        if (asJson) {
            out += firstJson ? "\n" : ",\n";
            firstJson = false;
            out += "{\"file\": ";
            out += name;
            out += ", \"line\": ";
            out += std::to_string(at);
            out += ", \"node\": ";
            out += Json(NodePlace(f->Node));
            out += warning ? ", \"severity\": \"warning\", \"message\": " : ", \"severity\": \"error\", \"message\": ";
            out += Json(JoinLines(message));
            out += '}';
        } else {
            out += name;
            out += ':';
            out += std::to_string(at);
            out += warning ? ": предупреждение: " : ": ";
            AppendOnOneLine(out, message);
            out += '\n';
        }
    }
}

int CheckAll(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input)
{
    int status = kExitOk;
    const auto options = ReadOptions(line, err, status);
    if (!options)
        return status;
    if (options->Files.empty())
        return Refuse(err, "check takes at least one file or folder");
    std::vector<std::string> files;
    bool unreadable = !CheckedFiles(options->Files, options->Recursive, files, err);
    bool found = false;
    bool firstJson = true;
    if (options->AsJson)
        out << '[';
    for (const std::string& file : files) {
        auto test = std::make_unique<Test>();
        SourceLines lines;
        if (!LoadInput(file, *test, err, input, &lines)) {
            unreadable = true;
            continue;
        }
        const std::vector<Finding> findings = FindAll(*test, options->Warnings);
        found = found || std::any_of(findings.begin(), findings.end(), [](const Finding& f) {
                    return f.Level == Finding::Severity::Error;
                });
        std::string text;
        AppendFindingLines(text, file, findings, lines, options->AsJson, firstJson);
        out << text;
    }
    if (options->AsJson)
        out << (firstJson ? "]\n" : "\n]\n");
    return unreadable ? kExitUsage : found ? kExitFinding : kExitOk;
}

int Stats(const CommandLine& line, std::ostream& out, std::ostream& err, const InputEncoding& input)
{
    int status = kExitOk;
    const auto options = ReadOptions(line, err, status);
    if (!options)
        return status;
    if (options->Files.size() != 1)
        return Refuse(err, "stats takes one test file");
    const std::string& file = options->Files[0];
    auto test = std::make_unique<Test>();
    if (!LoadInput(file, *test, err, input))
        return kExitUsage;
    const TestSummary s = Summarize(*test);
    const std::size_t positions = ShownBestPositions(s);

    if (options->AsJson) {
        out << "{\"file\": " << Json(file) << ",\n \"divisions\": [";
        for (std::size_t i = 0; i < s.Divisions.size(); ++i) {
            const auto& d = s.Divisions[i];
            out << (i ? ",\n  " : "\n  ") << "{\"name\": " << Json(d.Name) << ", \"questions\": " << d.Questions
                << ", \"asked\": " << d.Asked << '}';
        }
        out << "],\n \"asked\": " << s.Asked << ",\n \"largest_total\": " << s.LargestTotal
            << ",\n \"smallest_total\": " << s.SmallestTotal << ",\n \"marks\": [";
        for (std::size_t i = 0; i < s.Marks.size(); ++i) {
            const auto& m = s.Marks[i];
            out << (i ? ",\n  " : "\n  ") << "{\"description\": " << Json(m.Description) << ", \"threshold\": "
                << (m.Slot == 0 ? std::string("null") : std::to_string(m.Threshold))
                << ", \"reachable\": " << (m.Reachable ? "true" : "false") << '}';
        }
        out << "],\n \"time_limit\": " << s.TimeLimit << ",\n \"best_positions\": [";
        for (std::size_t i = 0; i < positions; ++i)
            out << (i ? ", " : "") << s.BestPositions[i];
        out << "]}\n";
        return kExitOk;
    }
    out << SummaryText(s, [](std::string_view mark) { return Printable(mark); });
    return kExitOk;
}

} // namespace mirvane
