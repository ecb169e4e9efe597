#pragma once
// A large, plausible test for the benchmarks: Cyrillic questions of one to
// three lines with four or five answers each, spread over divisions.
#include "model/Test.h"

#include <memory>

namespace mirvane::bench {

// `shortTexts`: questions of one or two lines with four or five answers of a
// few words, so that there are more questions to a megabyte (180,000
// questions make some 46 MB).
std::unique_ptr<Test> GenerateTest(int questions, int questionsPerDivision = 100, bool shortTexts = false);

} // namespace mirvane::bench
