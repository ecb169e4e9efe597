#include "check/TestFindings.h"

#include "check/TestSummary.h"
#include "model/Test.h"
#include "testfile/SourceLines.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace mirvane {

namespace {

constexpr int kShownAnswerSlots = 9; // the slots the player shows
constexpr std::size_t kFewestForPattern = 5;

// A text as the comparisons see it, byte by byte: without spaces, tabs and
// line breaks, Latin and Cyrillic capitals made small. Cyrillic capitals
// and their small letters take two bytes each, so no text is copied.
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
            if (c == 0xD0 && pos_ < text_.size()) {
                const auto n = static_cast<unsigned char>(text_[pos_]);
                if (n >= 0x80 && n <= 0xAF) {
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
    if (a == b)
        return true; // most repeats are copies: compared a word at a time
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

std::uint64_t Mix(std::uint64_t h)
{
    h *= 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

// The hashes below see a text as FoldedText does, byte by byte, without a
// branch per byte: each byte stands for a random word shared by the bytes it
// equals but for case (the case bits, and the bit telling the lead bytes of
// small and capital Cyrillic apart, masked off), with the lowest bit set; a
// blank (any byte up to the space) stands for 0 and is not counted. Texts
// equal as FoldedText sees them thus count the same bytes and give the same
// words at the same counts.
constexpr unsigned kCaseMask = 0xCE;

struct ByteWords {
    std::array<std::uint64_t, 256> Of{};

    constexpr ByteWords()
    {
        for (unsigned c = ' ' + 1; c < 256; ++c) {
            std::uint64_t x = (c & kCaseMask) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
            x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
            x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
            Of[c] = (x ^ (x >> 31)) | 1u;
        }
    }
};
constexpr ByteWords kByteWords;

// A hash of the first `limit` counted bytes of the text (of all of them by
// default): the sum of their words, each turned by its count.
std::uint64_t FoldedHash(std::string_view text, unsigned limit = ~0u)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    std::uint64_t h = 0;
    unsigned count = 0;
    for (; p != end && count < limit; ++p) {
        const std::uint64_t word = kByteWords.Of[*p];
        count += static_cast<unsigned>(word & 1);
        h += std::rotl(word, static_cast<int>(count & 63));
    }
    return Mix(h ^ count);
}

// Cheap fingerprints that texts equal as FoldedText sees them share. Only
// texts of equal fingerprints are looked at whole.

// The first 96 counted bytes: two cache lines of most texts. Texts that
// begin alike are told apart by their whole hashes.
std::uint64_t Fingerprint(std::string_view text) { return FoldedHash(text, 96); }

// The first eight counted bytes: answers rarely share them unless equal.
std::uint64_t ShortFingerprint(std::string_view text) { return FoldedHash(text, 8); }

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

// All warnings in one walk over the questions: on a large test, fetching
// each question from memory costs more than the work done on it.
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
        const bool pattern = switches_.IsOn(WarningKind::BestAlwaysInPlace);
        const bool marks = switches_.IsOn(WarningKind::MarkNeverGiven);
        std::vector<const Question*> all;
        std::vector<std::size_t> starts;
        std::size_t count = 0;
        for (const Division& d : test_.Divisions)
            count += d.Questions.Count();
        all.reserve(count);
        starts.reserve(test_.Divisions.Count() + 1);
        for (const Division& d : test_.Divisions) {
            starts.push_back(all.size());
            for (const Question& q : d.Questions)
                all.push_back(&q);
        }
        starts.push_back(all.size());
        if (questions) {
            seen_.reserve(all.size());
            prints_.reserve(all.size());
        }
        SummaryBuilder totals;
        std::size_t divisionIndex = 0;
        for (const Division& d : test_.Divisions) {
            if (switches_.IsOn(WarningKind::NothingAsked) && d.NQ <= 0)
                Add(WarningKind::NothingAsked, DivisionNode(d, divisionIndex), "из раздела не задаётся ни одного вопроса");
            totals.AddDivision(d);
            int commonBest = -1; // -2 once two differ
            const std::size_t first = starts[divisionIndex];
            const std::size_t end = starts[divisionIndex + 1];
            for (std::size_t i = first; i < end; ++i) {
                Prefetch(all, i);
                const Question& q = *all[i];
                const Place place{&q, divisionIndex, i - first, i};
                if (questions)
                    NoteQuestion(place);
                if (answers)
                    SameAnswers(place);
                if (marks || pattern) {
                    const int best = totals.AddQuestion(q);
                    commonBest = commonBest == -1 || commonBest == best ? best : -2;
                }
            }
            if (pattern && end - first >= kFewestForPattern && commonBest >= 0)
                Add(WarningKind::BestAlwaysInPlace, DivisionNode(d, divisionIndex),
                    "во всех " + std::to_string(end - first) + " вопросах раздела лучший ответ стоит на месте " +
                        std::to_string(commonBest + 1));
            ++divisionIndex;
        }
        if (questions)
            SameQuestions();
        if (marks && !all.empty())
            MarksNeverGiven(totals.Finish(test_));
    }

private:
    // Questions and their texts lie far apart on a large test: they are
    // asked for ahead, the question first, its texts once it has come.
    static void Prefetch(const std::vector<const Question*>& all, std::size_t i)
    {
#if defined(__GNUC__) || defined(__clang__)
        constexpr std::size_t kObjectsAhead = 32;
        constexpr std::size_t kTextsAhead = 8;
        if (i + kObjectsAhead < all.size())
            __builtin_prefetch(all[i + kObjectsAhead]);
        if (i + kTextsAhead < all.size()) {
            // A question's texts lie one after another in one block.
            const Question& q = *all[i + kTextsAhead];
            const std::string_view last = q.AGet(Question::kAnswerSlots - 1);
            const char* end = last.data() + last.size();
            constexpr std::ptrdiff_t kMostLines = 24;
            const char* texts = q.Q().data();
            for (std::ptrdiff_t line = 0; line < kMostLines && texts + line * 64 < end; ++line)
                __builtin_prefetch(texts + line * 64);
        }
#else
        (void)all;
        (void)i;
#endif
    }

    struct Place {
        const Question* Item;
        std::size_t Division;
        std::size_t Within;
        std::size_t InTest;

        FindingNode Node() const { return {NodeKind::Question, Item->Key, -1, Division, Within, InTest}; }
    };

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

    void NoteQuestion(const Place& place)
    {
        prints_.emplace_back(Fingerprint(place.Item->Q()), static_cast<std::uint32_t>(seen_.size()));
        seen_.push_back(place);
    }

    // Questions of one fingerprint are hashed whole, and those of one hash
    // compared with the first question of each text met so far in the
    // group: a repeat names the first of its text, and a thousand questions
    // of one text cost a thousand comparisons, not half a million.
    void SameQuestions()
    {
        GroupPrints();
        std::vector<std::pair<std::uint32_t, std::uint32_t>> repeats; // a question, the first of its text
        std::vector<std::pair<std::uint64_t, std::uint32_t>> hashes;
        std::vector<std::uint32_t> firsts;
        for (std::size_t start = 0, end = 0; start < prints_.size(); start = end) {
            end = start + 1;
            while (end < prints_.size() && prints_[end].first == prints_[start].first)
                ++end;
            if (end - start < 2)
                continue;
            hashes.clear();
            for (std::size_t i = start; i < end; ++i)
                hashes.emplace_back(FoldedHash(Text(prints_[i].second)), prints_[i].second);
            std::sort(hashes.begin(), hashes.end());
            for (std::size_t j = 0; j < hashes.size(); ++j) {
                if (j == 0 || hashes[j].first != hashes[j - 1].first)
                    firsts.clear();
                const std::uint32_t question = hashes[j].second;
                const auto same = std::find_if(firsts.begin(), firsts.end(), [&](std::uint32_t first) {
                    return SameFolded(Text(first), Text(question));
                });
                if (same == firsts.end())
                    firsts.push_back(question);
                else
                    repeats.emplace_back(question, *same);
            }
        }
        std::sort(repeats.begin(), repeats.end());
        for (const auto& [question, first] : repeats)
            Add(WarningKind::SameQuestion, seen_[question].Node(), "тот же вопрос, что").Other = seen_[first].Node();
    }

    // Brings equal fingerprints together, each run in the order of the
    // questions: one counting pass over the top bits of the fingerprints,
    // which spread evenly, then each small bucket sorted. On a large test
    // this costs a fraction of sorting them all.
    void GroupPrints()
    {
        constexpr int kBits = 16;
        std::vector<std::uint32_t> bucketEnds((std::size_t{1} << kBits) + 1);
        const auto bucketOf = [](std::uint64_t print) { return static_cast<std::size_t>(print >> (64 - kBits)); };
        for (const auto& entry : prints_)
            ++bucketEnds[bucketOf(entry.first) + 1];
        for (std::size_t b = 1; b < bucketEnds.size(); ++b)
            bucketEnds[b] += bucketEnds[b - 1];
        std::vector<std::pair<std::uint64_t, std::uint32_t>> grouped(prints_.size());
        std::vector<std::uint32_t> next(bucketEnds.begin(), bucketEnds.end() - 1);
        for (const auto& entry : prints_)
            grouped[next[bucketOf(entry.first)]++] = entry;
        for (std::size_t b = 0; b + 1 < bucketEnds.size(); ++b) {
            if (bucketEnds[b + 1] - bucketEnds[b] > 1)
                std::sort(grouped.begin() + bucketEnds[b], grouped.begin() + bucketEnds[b + 1]);
        }
        prints_.swap(grouped);
    }

    std::string_view Text(std::uint32_t question) const { return seen_[question].Item->Q(); }

    void SameAnswers(const Place& place)
    {
        const Question& q = *place.Item;
        std::string_view texts[kShownAnswerSlots];
        int slots[kShownAnswerSlots];
        int present = 0;
        for (int i = 0; i < kShownAnswerSlots; ++i) {
            if (q.IsAnswerPresent(i)) {
                texts[present] = q.AGet(i);
                slots[present++] = i;
            }
        }
        std::uint64_t starts[kShownAnswerSlots];
        for (int i = 0; i < present; ++i)
            starts[i] = ShortFingerprint(texts[i]);
        for (int j = 1; j < present; ++j) {
            for (int i = 0; i < j; ++i) {
                if (starts[i] == starts[j] && SameFolded(texts[i], texts[j])) {
                    Add(WarningKind::SameAnswers, place.Node(),
                        "ответы " + std::to_string(slots[i] + 1) + " и " + std::to_string(slots[j] + 1) + " совпадают");
                    break;
                }
            }
        }
    }

    void MarksNeverGiven(const TestSummary& summary)
    {
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


    const Test& test_;
    const WarningSwitches& switches_;
    std::vector<Finding>& out_;
    std::vector<Place> seen_;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> prints_; // fingerprint, question
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
