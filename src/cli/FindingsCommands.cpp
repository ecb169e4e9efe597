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

} // namespace

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
        std::vector<Placed> placed;
        placed.reserve(findings.size());
        for (const Finding& f : findings) {
            placed.push_back({LineOf(f.Node, lines), &f});
            found = found || f.Level == Finding::Severity::Error;
        }
        std::stable_sort(placed.begin(), placed.end(),
                         [](const Placed& a, const Placed& b) { return a.Line < b.Line; });
        std::string text;
        for (const auto& [at, f] : placed) {
            const bool warning = f->Level == Finding::Severity::Warning;
            const std::string message = JoinLines(FindingText(*f, &lines));
            if (options->AsJson) {
                text += firstJson ? "\n" : ",\n";
                firstJson = false;
                text += "{\"file\": " + Json(file) + ", \"line\": " + std::to_string(at) +
                        ", \"node\": " + Json(NodePlace(f->Node)) + ", \"severity\": " +
                        (warning ? "\"warning\"" : "\"error\"") + ", \"message\": " + Json(message) + '}';
            } else {
                text += Printable(file + ':' + std::to_string(at) + (warning ? ": предупреждение: " : ": ") + message) +
                        '\n';
            }
        }
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
