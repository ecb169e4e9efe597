#pragma once
// The order of a test as a document: the division keys in order, each with its
// question keys in order. The editor takes it from its structure tree; a test
// just read from a file has it in its collections.
#include <string>
#include <vector>

namespace mirvane {

class Test;

struct DocumentOrder {
    struct DivisionEntry {
        std::string Key;
        std::vector<std::string> QuestionKeys;
    };
    std::vector<DivisionEntry> Divisions;

    static DocumentOrder FromCollections(const Test& test);
};

} // namespace mirvane
