#pragma once
// A large, plausible test for the benchmarks: Cyrillic questions of one to
// three lines with four or five answers each, spread over divisions.
#include "model/Test.h"

#include <memory>

namespace mirvane::bench {

std::unique_ptr<Test> GenerateTest(int questions, int questionsPerDivision = 100);

} // namespace mirvane::bench
