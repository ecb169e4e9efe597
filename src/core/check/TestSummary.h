#pragma once
// The numbers of a test a teacher weighs before giving it: what is asked,
// the scores a student can end with, which marks can be given at all, and
// where the best answers stand.
#include "model/Question.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

class Test;

struct TestSummary {
    struct DivisionCounts {
        std::string Name;
        std::size_t Questions = 0;
        int Asked = 0;
    };
    struct Mark {
        int Slot = 0;
        std::string Description;
        int Threshold = 0;
        bool Reachable = true;
        // Why not: the threshold is above the largest total, or every total
        // reaches the mark in slot OutrankedBy (-1 when it is not that).
        bool AboveLargest = false;
        int OutrankedBy = -1;
    };

    std::vector<DivisionCounts> Divisions;
    long Asked = 0;
    // Totals of the chosen answers' scores over one run of the test: every
    // division gives its asked count of questions, each answered best or
    // worst. A division of fewer questions gives what it has.
    long LargestTotal = 0;
    long SmallestTotal = 0;
    std::vector<Mark> Marks; // the marks in use, by slot; the failing mark first
    int TimeLimit = 0;
    // How many questions have their best answer at each answer position.
    std::array<std::size_t, Question::kAnswerSlots> BestPositions{};
};

TestSummary Summarize(const Test& test);

// The summary as lines a teacher reads: the divisions, what is asked, the
// totals, each mark with its threshold, the time and the best answers'
// places. Each mark's description, made one line, is shown through
// `shownMark` when given (a terminal escapes what it cannot show).
std::string SummaryText(const TestSummary& summary,
                        const std::function<std::string(std::string_view)>& shownMark = nullptr);

// How many answer positions the spread of best answers shows: up to the
// last one some best answer holds, at least one.
std::size_t ShownBestPositions(const TestSummary& summary);

class Division;

// Gathers the summary while a caller walks the test anyway: each division,
// then its questions, then Finish.
class SummaryBuilder {
public:
    void AddDivision(const Division& division);
    // Returns the question's best answer slot.
    int AddQuestion(const Question& question);
    TestSummary Finish(const Test& test);

private:
    void CloseDivision();

    TestSummary summary_;
    int asked_ = 0;
    std::vector<int> best_;
    std::vector<int> worst_;
};

} // namespace mirvane
