#include "model/DocumentOrder.h"

#include "model/Test.h"

namespace mirvane {

DocumentOrder DocumentOrder::FromCollections(const Test& test)
{
    DocumentOrder order;
    order.Divisions.reserve(test.Divisions.Count());
    for (const Division& d : test.Divisions) {
        DivisionEntry entry;
        entry.Key = d.Key;
        entry.QuestionKeys.reserve(d.Questions.Count());
        for (const Question& q : d.Questions)
            entry.QuestionKeys.push_back(q.Key);
        order.Divisions.push_back(std::move(entry));
    }
    return order;
}

} // namespace mirvane
