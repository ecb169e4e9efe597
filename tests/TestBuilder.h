#pragma once
// Builds model tests by hand for the core tests, drawing keys from the
// program's counter as the editor does.
#include "model/KeyCounter.h"
#include "model/NodeKey.h"
#include "model/Test.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace mirvane::testing {

inline Division& AddDivisionTo(Test& test, const std::string& name = "Раздел", std::int16_t nq = 1)
{
    const std::string key = NextKey(NodeKind::Division);
    auto d = std::make_unique<Division>();
    d->Key = key;
    d->Name = name;
    d->NQ = nq;
    return test.Divisions.Add(key, std::move(d));
}

// Answers fill slots 0, 1, ... in order.
inline Question& AddQuestionTo(Division& division, const std::string& text,
                               std::initializer_list<std::pair<const char*, int>> answers = {})
{
    const std::string key = NextKey(NodeKind::Question);
    auto q = std::make_unique<Question>();
    q->Key = key;
    q->QSet(text);
    int slot = 0;
    for (auto [answer, score] : answers) {
        q->ASet(slot, answer);
        q->AScoreSet(slot, static_cast<std::int16_t>(score));
        ++slot;
    }
    return division.Questions.Add(key, std::move(q));
}

// Marks that pass the check: the failing mark as a file gives it, and one more.
inline void SetPassingMarks(Test& test)
{
    test.MarkScoresSet(0, Test::kFailingMarkScore);
    test.MarkDiscriptionsSet(1, "Сдан");
    test.MarkScoresSet(1, 5);
}

} // namespace mirvane::testing
