#pragma once
// Every finding of the structure check at once, and warnings about faults
// the player accepts yet which spoil a test: the same question twice, equal
// answers, a mark nobody gets, the best answer always in one place, a
// division nothing is asked from. Warnings never count as errors.
#include "check/StructureCheck.h"
#include "model/NodeKey.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirvane {

class Test;
struct SourceLines;

enum class WarningKind {
    SameQuestion,
    SameAnswers,
    MarkNeverGiven,
    BestAlwaysInPlace,
    NothingAsked,
};
inline constexpr std::size_t kWarningKinds = 5;

// Which warnings are looked for; all by default.
class WarningSwitches {
public:
    bool IsOn(WarningKind kind) const { return on_[static_cast<std::size_t>(kind)]; }
    void Set(WarningKind kind, bool on) { on_[static_cast<std::size_t>(kind)] = on; }

private:
    std::array<bool, kWarningKinds> on_{true, true, true, true, true};
};

// The names a warning is switched off by in the command line.
std::string_view WarningName(WarningKind kind);
std::optional<WarningKind> WarningByName(std::string_view name);

// A node of the test, with its position in the order of the collections.
struct FindingNode {
    NodeKind Kind = NodeKind::None;
    std::string Key;
    int Mark = -1; // the mark slot, for a finding about one mark
    std::size_t Division = kNoPosition;
    std::size_t Question = kNoPosition;       // within the division
    std::size_t QuestionInTest = kNoPosition; // among all questions
};

struct Finding {
    enum class Severity { Error, Warning };
    Severity Level = Severity::Error;
    std::optional<WarningKind> Warning;
    FindingNode Node;
    std::string Message;
    // The question this one repeats; FindingText names it.
    std::optional<FindingNode> Other;
};

// Errors first, as the check's rules run, then the warnings switched on.
std::vector<Finding> FindAll(const Test& test, const WarningSwitches& warnings = {});

// The line of the file where the node starts, when the test is as read
// from the file `lines` describe; else 0. The test parameters start with
// the title, the marks at the mark concerned or the first mark line.
std::int64_t LineOf(const FindingNode& node, const SourceLines& lines);

// The finding's message, naming the question another repeats by its line
// when `lines` are given, else by its position.
std::string FindingText(const Finding& finding, const SourceLines* lines);

// "marks", "test", "division 2" or "division 2, question 3": 1-based.
std::string NodePlace(const FindingNode& node);

} // namespace mirvane
