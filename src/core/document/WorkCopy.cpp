#include "document/WorkCopy.h"

#include "model/DocumentOrder.h"
#include "model/Test.h"

namespace mirvane {

std::unique_ptr<Test> CopyInDocumentOrder(const Test& test, const DocumentOrder& order)
{
    auto copy = std::make_unique<Test>();
    copy->TestName = test.TestName;
    copy->TestTime = test.TestTime;
    copy->ShowErrors = test.ShowErrors;
    copy->LogType = test.LogType;
    copy->LogFile = test.LogFile;
    for (int i = 0; i < Test::kMarkSlots; ++i) {
        copy->MarkScoresSet(i, test.MarkScoresGet(i));
        copy->MarkDiscriptionsSet(i, test.MarkDiscriptionsGet(i));
    }
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& from = test.Divisions.Item(entry.Key);
        auto division = std::make_unique<Division>();
        division->NQ = from.NQ;
        division->Name = from.Name;
        for (std::size_t i = 0; i < entry.QuestionKeys.size(); ++i)
            division->Questions.Add(entry.QuestionKeys[i],
                                    std::make_unique<Question>(QuestionInOrder(from, entry.QuestionKeys, i)));
        copy->Divisions.Add(entry.Key, std::move(division));
    }
    return copy;
}

} // namespace mirvane
