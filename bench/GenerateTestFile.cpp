// Writes the benchmarks' generated test to a file, for the command-line
// comparisons of bench/run.sh.
#include "GeneratedTest.h"

#include "model/DocumentOrder.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileWriter.h"

#include <cstdlib>
#include <string>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: mirvane-bench-gen OUT.q [QUESTIONS [short]]\n";
        return 2;
    }
    const int questions = argc > 2 ? std::atoi(argv[2]) : 100000;
    const bool shortTexts = argc > 3 && std::string(argv[3]) == "short";
    auto test = mirvane::bench::GenerateTest(questions, 100, shortTexts);
    const std::string bytes = mirvane::WriteTestFile(*test, mirvane::DocumentOrder::FromCollections(*test));
    if (auto error = mirvane::WriteFileReplacing(argv[1], bytes)) {
        std::cerr << *error << '\n';
        return 2;
    }
    return 0;
}
