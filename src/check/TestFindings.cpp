#include "check/TestFindings.h"

#include "check/TestSummary.h"
#include "model/Test.h"
#include "testfile/SourceLines.h"

#include <unordered_map>

namespace mirvane {

namespace {

constexpr int kShownAnswerSlots = 9; // the slots the player shows
constexpr std::size_t kFewestForPattern = 5;

// A text as the comparisons see it, byte by byte: without blanks and line
// breaks, Latin and Cyrillic capitals made small. Cyrillic capitals and
// their small letters take two bytes each, so no text needs to be copied.
class FoldedText {
public:
    explicit FoldedText(std::string_view text) : text_(text) {}

    // The next byte, or -1 at the end.
    int Next()
    {
        if (pending_ >= 0) {
            const int b = pending_;
            pending_ = -1;
            return b;
        }
        while (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_++]);
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
                continue;
            if (c >= 'A' && c <= 'Z')
                return c + ('a' - 'A');
            if ((c == 0xC2 || c == 0xD0) && pos_ < text_.size()) {
                const auto n = static_cast<unsigned char>(text_[pos_]);
                if (c == 0xC2 && n == 0xA0) { // no-break space
                    ++pos_;
                    continue;
                }
                if (c == 0xD0 && n >= 0x80 && n <= 0xAF) {
                    ++pos_;
                    if (n >= 0x90 && n <= 0x9F) { // А..П
                        pending_ = n + 0x20;
                        return 0xD0;
                    }
                    pending_ = n < 0x90 ? n + 0x10 : n - 0x20; // Ѐ..Џ, Р..Я
                    return 0xD1;
                }
            }
            return c;
        }
        return -1;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int pending_ = -1;
};

bool SameFolded(std::string_view a, std::string_view b)
{
    FoldedText x(a);
    FoldedText y(b);
    for (;;) {
        const int c = x.Next();
        if (c != y.Next())
            return false;
        if (c < 0)
            return true;
    }
}

std::uint64_t FoldedHash(std::string_view text)
{
    const auto mix = [](std::uint64_t h) {
        h *= 0x9E3779B97F4A7C15ull;
        return h ^ (h >> 29);
    };
    FoldedText folded(text);
    std::uint64_t h = 0;
    std::uint64_t word = 0;
    int bytes = 0;
    for (int c = folded.Next(); c >= 0; c = folded.Next()) {
        word = (word << 8) | static_cast<std::uint64_t>(c);
        if (++bytes % 8 == 0) {
            h = mix(h ^ word);
            word = 0;
        }
    }
    return mix(h ^ word ^ static_cast<std::uint64_t>(bytes));
}

FindingNode NodeOf(const StructureFault& fault)
{
    FindingNode node;
    node.Kind = KindOf(fault.NodeKey);
    node.Key = std::string(fault.NodeKey);
    node.Mark = fault.Mark;
    node.Division = fault.Division;
    node.Question = fault.Question;
    node.QuestionInTest = fault.QuestionInTest;
    return node;
}

FindingNode QuestionNode(const Question& q, std::size_t division, std::size_t within, std::size_t inTest)
{
    return {NodeKind::Question, q.Key, -1, division, within, inTest};
}

class Warner {
public:
    Warner(const Test& test, const WarningSwitches& switches, std::vector<Finding>& out)
        : test_(test), switches_(switches), out_(out)
    {
    }

    void Run()
    {
        const bool questions = switches_.IsOn(WarningKind::SameQuestion);
        const bool answers = switches_.IsOn(WarningKind::SameAnswers);
        std::size_t count = 0;
        for (const Division& d : test_.Divisions)
            count += d.Questions.Count();
        if (questions)
            firstOfText_.reserve(count);

        std::size_t divisionIndex = 0;
        std::size_t inTest = 0;
        for (const Division& d : test_.Divisions) {
            if (switches_.IsOn(WarningKind::NothingAsked) && d.NQ <= 0)
                Add(WarningKind::NothingAsked, DivisionNode(d, divisionIndex), "из раздела не задаётся ни одного вопроса");
            if (switches_.IsOn(WarningKind::BestAlwaysInPlace))
                BestAlwaysInPlace(d, divisionIndex);
            std::size_t within = 0;
            for (const Question& q : d.Questions) {
                const FindingNode node = QuestionNode(q, divisionIndex, within, inTest);
                if (questions)
                    SameQuestion(q, node);
                if (answers)
                    SameAnswers(q, node);
                ++within;
                ++inTest;
            }
            ++divisionIndex;
        }
        if (switches_.IsOn(WarningKind::MarkNeverGiven) && count > 0)
            MarksNeverGiven();
    }

private:
    static FindingNode DivisionNode(const Division& d, std::size_t index)
    {
        return {NodeKind::Division, d.Key, -1, index, kNoPosition, kNoPosition};
    }

    Finding& Add(WarningKind kind, FindingNode node, std::string message)
    {
        Finding f;
        f.Level = Finding::Severity::Warning;
        f.Warning = kind;
        f.Node = std::move(node);
        f.Message = std::move(message);
        out_.push_back(std::move(f));
        return out_.back();
    }

    void SameQuestion(const Question& q, const FindingNode& node)
    {
        const auto [first, added] = firstOfText_.try_emplace(FoldedHash(q.Q()), Seen{&q, node});
        if (!added && SameFolded(q.Q(), first->second.Item->Q()))
            Add(WarningKind::SameQuestion, node, "тот же вопрос, что").Other = first->second.Node;
    }

    void SameAnswers(const Question& q, const FindingNode& node)
    {
        for (int j = 1; j < kShownAnswerSlots; ++j) {
            if (!q.IsAnswerPresent(j))
                continue;
            for (int i = 0; i < j; ++i) {
                if (q.IsAnswerPresent(i) && SameFolded(q.AGet(i), q.AGet(j))) {
                    Add(WarningKind::SameAnswers, node,
                        "ответы " + std::to_string(i + 1) + " и " + std::to_string(j + 1) + " совпадают");
                    break;
                }
            }
        }
    }

    void BestAlwaysInPlace(const Division& d, std::size_t index)
    {
        if (d.Questions.Count() < kFewestForPattern)
            return;
        const int first = d.Questions.begin()->GetBestAnswer();
        for (const Question& q : d.Questions) {
            if (q.GetBestAnswer() != first)
                return;
        }
        Add(WarningKind::BestAlwaysInPlace, DivisionNode(d, index),
            "во всех " + std::to_string(d.Questions.Count()) + " вопросах раздела лучший ответ стоит на месте " +
                std::to_string(first + 1));
    }

    void MarksNeverGiven()
    {
        const TestSummary summary = Summarize(test_);
        for (const TestSummary::Mark& mark : summary.Marks) {
            if (mark.Reachable)
                continue;
            FindingNode node{NodeKind::Marks, std::string(kMarksKey), mark.Slot};
            std::string message = "оценку «" + mark.Description + "» получить нельзя: ";
            if (mark.AboveLargest) {
                message += "порог " + std::to_string(mark.Threshold) + " больше наибольшей суммы баллов " +
                           std::to_string(summary.LargestTotal);
            } else {
                message += "наименьшая сумма баллов " + std::to_string(summary.SmallestTotal) +
                           " не ниже порога " + std::to_string(test_.MarkScoresGet(mark.OutrankedBy)) +
                           " оценки «" + test_.MarkDiscriptionsGet(mark.OutrankedBy) + "»";
            }
            Add(WarningKind::MarkNeverGiven, std::move(node), std::move(message));
        }
    }

    struct Seen {
        const Question* Item;
        FindingNode Node;
    };

    const Test& test_;
    const WarningSwitches& switches_;
    std::vector<Finding>& out_;
    std::unordered_map<std::uint64_t, Seen> firstOfText_;
};

constexpr std::string_view kWarningNames[kWarningKinds] = {
    "same-question", "same-answers", "mark-never-given", "best-in-place", "nothing-asked",
};

} // namespace

std::string_view WarningName(WarningKind kind) { return kWarningNames[static_cast<std::size_t>(kind)]; }

std::optional<WarningKind> WarningByName(std::string_view name)
{
    for (std::size_t i = 0; i < kWarningKinds; ++i) {
        if (kWarningNames[i] == name)
            return static_cast<WarningKind>(i);
    }
    return std::nullopt;
}

std::vector<Finding> FindAll(const Test& test, const WarningSwitches& warnings)
{
    std::vector<Finding> found;
    ForEachStructureFault(test, [&found](const StructureFault& fault) {
        Finding f;
        f.Node = NodeOf(fault);
        f.Message = std::string(RuleMessage(fault.Rule));
        found.push_back(std::move(f));
    });
    Warner(test, warnings, found).Run();
    return found;
}

std::int64_t LineOf(const FindingNode& node, const SourceLines& lines)
{
    switch (node.Kind) {
    case NodeKind::Parameters:
        return 1;
    case NodeKind::Marks:
        if (node.Mark >= 0 && node.Mark < Test::kMarkSlots && lines.Marks[static_cast<std::size_t>(node.Mark)] > 0)
            return lines.Marks[static_cast<std::size_t>(node.Mark)];
        return lines.FirstMarkLine();
    case NodeKind::Division:
        return node.Division < lines.Divisions.size() ? lines.Divisions[node.Division] : 0;
    case NodeKind::Question:
        return node.QuestionInTest < lines.Questions.size() ? lines.Questions[node.QuestionInTest] : 0;
    case NodeKind::None:
        break;
    }
    return 0;
}

std::string FindingText(const Finding& finding, const SourceLines* lines)
{
    if (!finding.Other)
        return finding.Message;
    const FindingNode& other = *finding.Other;
    const std::int64_t line = lines ? LineOf(other, *lines) : 0;
    if (line > 0)
        return finding.Message + " в строке " + std::to_string(line);
    return finding.Message + " вопрос " + std::to_string(other.Question + 1) + " раздела " +
           std::to_string(other.Division + 1);
}

std::string NodePlace(const FindingNode& node)
{
    switch (node.Kind) {
    case NodeKind::Marks:
        return "marks";
    case NodeKind::Parameters:
        return "test";
    case NodeKind::Division:
        return "division " + std::to_string(node.Division + 1);
    case NodeKind::Question:
        return "division " + std::to_string(node.Division + 1) + ", question " + std::to_string(node.Question + 1);
    case NodeKind::None:
        break;
    }
    return {};
}

} // namespace mirvane
