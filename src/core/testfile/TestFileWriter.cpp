#include "testfile/TestFileWriter.h"

#include "model/CodePage.h"
#include "model/DocumentOrder.h"
#include "model/Misc.h"
#include "model/Number.h"
#include "model/Test.h"
#include "model/TextLines.h"

namespace mirvane {

std::string WriteTestFile(const Test& test, const DocumentOrder& order)
{
    return CollectChunks([&](const ChunkSink& sink) { WriteTestFile(test, order, sink); });
}

namespace {
void WriteInOrder(const Test& test, const DocumentOrder& order, const ChunkSink& sink, const StandIns& standIns);
} // namespace

std::string WriteTestFile(const Test& test, const DocumentOrder& order, const StandIns& standIns)
{
    return CollectChunks([&](const ChunkSink& sink) { WriteInOrder(test, order, sink, standIns); });
}

namespace {

// A line break inside a one-line field would make the rest of it a line of
// its own, which the reader takes for a command or the next field.
void WriteHeader(const Test& test, std::string& out)
{
    const CodePage& dos = CodePage::Dos();
    AppendFileLine(out, LineBreaksAsSpaces(test.TestName), dos);
    AppendFileLine(out, ")t " + FormatNumber(test.TestTime));
    AppendFileLine(out, test.ShowErrors != 0 ? ")\" 1" : ")\" 0");
    AppendFileLine(out, test.LogType == 1 ? ")@ 1" : test.LogType == 2 ? ")@ 2" : ")@ 0");
    AppendFileLine(out, ")f " + LineBreaksAsSpaces(test.LogFile), dos);
    AppendFileLine(out, ")< ");
    AppendFileLine(out, LineBreaksAsSpaces(test.MarkDiscriptionsGet(0)), dos);
    for (int i = 1; i <= 9; ++i) {
        if (!test.IsMarkInUse(i))
            continue;
        AppendFileLine(out, ")> " + FormatNumber(test.MarkScoresGet(i)));
        AppendFileLine(out, LineBreaksAsSpaces(test.MarkDiscriptionsGet(i)), dos);
    }
}

void WriteDivisionHead(const Division& division, std::string& out)
{
    AppendFileLine(out, ")* " + FormatNumber(division.NQ));
    AppendFileLine(out, "):" + LineBreaksAsSpaces(division.Name), CodePage::Dos());
}

void WriteInOrder(const Test& test, const DocumentOrder& order, const ChunkSink& sink, const StandIns& standIns)
{
    ChunkedOutput output(sink);
    std::string& out = output.Buffer();
    WriteHeader(standIns.Header ? *standIns.Header : test, out);
    for (const DocumentOrder::DivisionEntry& entry : order.Divisions) {
        const Division& division = test.Divisions.Item(entry.Key);
        const bool standsIn = standIns.DivisionHead && entry.Key == standIns.Key;
        WriteDivisionHead(standsIn ? *standIns.DivisionHead : division, out);
        for (std::size_t j = 0; j < entry.QuestionKeys.size(); ++j) {
            PrefetchAhead(division, j);
            if (standIns.QuestionItem && entry.QuestionKeys[j] == standIns.Key)
                standIns.QuestionItem->Save(out);
            else
                QuestionInOrder(division, entry.QuestionKeys, j).Save(out);
            output.Pass();
        }
    }
    AppendFileLine(out, "):");
    output.Flush();
}

} // namespace

void WriteTestFile(const Test& test, const DocumentOrder& order, const ChunkSink& sink)
{
    WriteInOrder(test, order, sink, StandIns{});
}

void WriteTestFileAsRead(const Test& test, const ChunkSink& sink)
{
    ChunkedOutput output(sink);
    std::string& out = output.Buffer();
    WriteHeader(test, out);
    for (const Division& division : test.Divisions) {
        WriteDivisionHead(division, out);
        for (std::size_t position = 1; position <= division.Questions.Count(); ++position) {
            PrefetchAhead(division, position - 1);
            division.Questions.Item(position).Save(out);
            output.Pass();
        }
    }
    AppendFileLine(out, "):");
    output.Flush();
}

} // namespace mirvane
