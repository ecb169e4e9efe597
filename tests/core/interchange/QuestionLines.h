#pragma once
// An imported test written out for comparing: one line per question.
#include "model/Test.h"

#include <string>
#include <vector>

namespace mirvane::testing {

// "раздел | текст: ответ балл; ответ балл;" for every question, division by division.
inline std::vector<std::string> Questions(const mirvane::Test& test)
{
    std::vector<std::string> out;
    for (const Division& d : test.Divisions) {
        for (const Question& q : d.Questions) {
            std::string line = d.Name + " | " + std::string(q.Q()) + ":";
            for (int a = 0; a < Question::kAnswerSlots; ++a) {
                if (q.IsAnswerPresent(a))
                    line += " " + std::string(q.AGet(a)) + " " + std::to_string(q.AScoreGet(a)) + ";";
            }
            out.push_back(line);
        }
    }
    return out;
}

} // namespace mirvane::testing
