#pragma once
// The order of a test as a document: the division keys in order, each with its
// question keys in order. The editor takes it from its structure tree; a test
// just read from a file has it in its collections.
#include <string>
#include <vector>

namespace mirvane {

class Division;
class Question;
class Test;

struct DocumentOrder {
    struct DivisionEntry {
        std::string Key;
        std::vector<std::string> QuestionKeys;
    };
    std::vector<DivisionEntry> Divisions;

    static DocumentOrder FromCollections(const Test& test);
};

// The question that stands at `position` of a division's ordered keys. The
// tree's order usually matches the collection's, so the question at the same
// place of the collection is tried before the key lookup. Throws
// std::out_of_range when the division holds no question with that key.
const Question& QuestionInOrder(const Division& division, const std::vector<std::string>& keys,
                                std::size_t position);

// Asks the memory for the question that will be written some places after
// `position` (in collection order, which the document order usually is), so
// that writers walking a large test do not wait for each question in turn.
void PrefetchAhead(const Division& division, std::size_t position);

} // namespace mirvane
