#include "testfile/TestFileWriter.h"

#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/Test.h"
#include "model/TextLines.h"

namespace mirvane {

namespace {

// Room for the text once converted, plus the command lines around it.
std::size_t EstimateSize(const Test& test)
{
    std::size_t size = 1024;
    for (const Division& d : test.Divisions) {
        size += d.Name.size() + 16;
        for (const Question& q : d.Questions) {
            size += q.Q.size() + 8;
            for (int i = 0; i < Question::kAnswerSlots; ++i)
                size += q.AGet(i).size() + 12;
        }
    }
    return size;
}

} // namespace

std::string WriteTestFile(const Test& test, const DocumentOrder& order)
{
    const CodePage& dos = CodePage::Dos();
    std::string out;
    out.reserve(EstimateSize(test));

    AppendFileLine(out, test.TestName, dos);
    AppendFileLine(out, ")t " + FormatNumber(test.TestTime));
    AppendFileLine(out, test.ShowErrors != 0 ? ")\" 1" : ")\" 0");
    AppendFileLine(out, test.LogType == 1 ? ")@ 1" : test.LogType == 2 ? ")@ 2" : ")@ 0");
    AppendFileLine(out, ")f " + test.LogFile, dos);
    AppendFileLine(out, ")< ");
    AppendFileLine(out, test.MarkDiscriptionsGet(0), dos);
    for (int i = 1; i <= 9; ++i) {
        if (!test.IsMarkInUse(i))
            continue;
        AppendFileLine(out, ")> " + FormatNumber(test.MarkScoresGet(i)));
        AppendFileLine(out, test.MarkDiscriptionsGet(i), dos);
    }
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        AppendFileLine(out, ")* " + FormatNumber(division.NQ));
        AppendFileLine(out, "):" + division.Name, dos);
        for (const std::string& questionKey : entry.QuestionKeys)
            division.Questions.Item(questionKey).Save(out);
    }
    AppendFileLine(out, "):");
    return out;
}

} // namespace mirvane
