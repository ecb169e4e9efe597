#pragma once
// Where the parts of a test stood in the file it was read from, so that a
// finding can name the line to mend. Kept by position in the order read: a
// large test costs one number per question.
#include "model/Test.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mirvane {

struct SourceLines {
    // 1-based line numbers; 0 where the file had no such line.
    std::array<std::int64_t, Test::kMarkSlots> Marks{}; // each mark's ")<" or ")>" line
    std::vector<std::int64_t> Divisions;                 // each division's ")*" line, in the order read
    std::vector<std::int64_t> Questions;                 // each question's ")?" line, across the test

    // The first mark line of the file, else the title's line 1.
    std::int64_t FirstMarkLine() const
    {
        std::int64_t first = 0;
        for (std::int64_t line : Marks) {
            if (line > 0 && (first == 0 || line < first))
                first = line;
        }
        return first > 0 ? first : 1;
    }
};

} // namespace mirvane
