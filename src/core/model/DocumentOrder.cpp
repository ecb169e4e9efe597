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

const Question& QuestionInOrder(const Division& division, const std::vector<std::string>& keys,
                                std::size_t position)
{
    const std::string& key = keys.at(position);
    if (position < division.Questions.Count()) {
        const Question& same = division.Questions.Item(position + 1);
        if (same.Key == key)
            return same;
    }
    return division.Questions.Item(key);
}

void PrefetchAhead(const Division& division, std::size_t position)
{
#if defined(__GNUC__) || defined(__clang__)
    constexpr std::size_t kObjectAhead = 16;
    constexpr std::size_t kTextAhead = 8;
    const std::size_t count = division.Questions.Count();
    if (position + kObjectAhead < count)
        __builtin_prefetch(&division.Questions.Item(position + kObjectAhead + 1));
    if (position + kTextAhead < count)
        __builtin_prefetch(division.Questions.Item(position + kTextAhead + 1).Q().data());
#else
    (void)division;
    (void)position;
#endif
}

} // namespace mirvane
