// The structure check and both exports on the same generated 50 MB test.
#include "GeneratedTest.h"

#include "check/StructureCheck.h"
#include "check/TestFindings.h"
#include "cli/FindingsCommands.h"
#include "model/Misc.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "interchange/Interchange.h"
#include "model/CodePage.h"
#include "model/DocumentOrder.h"

#include <benchmark/benchmark.h>

namespace mirvane::bench {
namespace {

const Test& LargeTest()
{
    static const std::unique_ptr<Test> test = GenerateTest(100000);
    return *test;
}

void BM_CheckStructure(benchmark::State& state)
{
    // A clean test makes the check walk every rule over every question: no
    // division asks any, so the 25-question limit holds.
    static const std::unique_ptr<Test> clean = [] {
        auto test = GenerateTest(100000);
        for (Division& d : test->Divisions)
            d.NQ = 0;
        return test;
    }();
    const Test& test = *clean;
    if (CheckStructure(test).Found)
        state.SkipWithError("the generated test is expected to pass the check");
    for (auto _ : state) {
        CheckFinding f = CheckStructure(test);
        benchmark::DoNotOptimize(f.Found);
    }
}
BENCHMARK(BM_CheckStructure)->Unit(benchmark::kMillisecond)->UseRealTime();

// check --all on the 100,000-question test as read from its file, with
// the lines the reader noted: every finding and warning (BM_CheckAll/0);
// that with the program's writing of its output lines (BM_CheckAll/1); the
// check's findings without the warnings (BM_CheckAll/2). BM_CheckStructure
// above, the first finding only, is the baseline. Two harder shapes, with
// their lines written: every question with two equal answers, 100,000
// warnings to write (BM_CheckAllShapes/0), and every question of one text,
// each a repeat of the first (BM_CheckAllShapes/1).
struct ReadTest {
    std::unique_ptr<Test> Loaded = std::make_unique<Test>();
    SourceLines Lines;
};

std::unique_ptr<ReadTest> AsRead(const Test& test)
{
    auto r = std::make_unique<ReadTest>();
    const std::string bytes = WriteTestFile(test, DocumentOrder::FromCollections(test));
    TestFileReader reader(*r->Loaded, {});
    reader.RecordLinesIn(&r->Lines);
    reader.LoadFile(bytes);
    return r;
}

const ReadTest& LargeTestAsRead()
{
    static const std::unique_ptr<ReadTest> read = AsRead(LargeTest());
    return *read;
}

std::size_t CheckAndWrite(benchmark::State& state, const ReadTest& read, const WarningSwitches& warnings,
                          bool writeLines)
{
    std::size_t count = 0;
    for (auto _ : state) {
        const std::vector<Finding> found = FindAll(*read.Loaded, warnings);
        std::string out;
        bool firstJson = true;
        if (writeLines)
            AppendFindingLines(out, "big.q", found, read.Lines, false, firstJson);
        count = found.size();
        benchmark::DoNotOptimize(out.data());
    }
    return count;
}

void BM_CheckAll(benchmark::State& state)
{
    WarningSwitches warnings;
    if (state.range(0) == 2) {
        for (std::size_t k = 0; k < kWarningKinds; ++k)
            warnings.Set(static_cast<WarningKind>(k), false);
    }
    state.counters["findings"] =
        static_cast<double>(CheckAndWrite(state, LargeTestAsRead(), warnings, state.range(0) == 1));
}
BENCHMARK(BM_CheckAll)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CheckAllShapes(benchmark::State& state)
{
    static const std::unique_ptr<ReadTest> shapes[2] = {
        [] {
            auto test = GenerateTest(100000);
            for (Division& d : test->Divisions) {
                for (Question& q : d.Questions)
                    q.ASet(1, std::string(q.AGet(0)));
            }
            return AsRead(*test);
        }(),
        [] {
            auto test = GenerateTest(100000);
            for (Division& d : test->Divisions) {
                for (Question& q : d.Questions)
                    q.QSet("Выберите верное утверждение из приведённых ниже");
            }
            return AsRead(*test);
        }(),
    };
    state.counters["findings"] =
        static_cast<double>(CheckAndWrite(state, *shapes[state.range(0)], WarningSwitches{}, true));
}
BENCHMARK(BM_CheckAllShapes)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HtmlExport(benchmark::State& state)
{
    const Test& test = LargeTest();
    const DocumentOrder order = DocumentOrder::FromCollections(test);
    std::size_t size = 0;
    for (auto _ : state) {
        size = 0;
        WriteHtmlPage(test, order, "/tmp/big.htm", [&size](std::string_view chunk) { size += chunk.size(); });
        benchmark::DoNotOptimize(size);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_HtmlExport)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TextExport(benchmark::State& state)
{
    const Test& test = LargeTest();
    const DocumentOrder order = DocumentOrder::FromCollections(test);
    const auto content = static_cast<TextContent>(state.range(0));
    std::size_t size = 0;
    for (auto _ : state) {
        size = 0;
        WriteTextExport(test, order, content, CodePage::Dos(),
                        [&size](std::string_view chunk) { size += chunk.size(); });
        benchmark::DoNotOptimize(size);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_TextExport)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The quiz formats on a test of 10,000 questions: 0 Moodle XML, 1 GIFT,
// 2 Aiken; export, and import of what was exported.
std::string ExportedAs(int format, const Test& test, const DocumentOrder& order)
{
    return format == 0 ? ExportMoodleXml(test, order).Text : format == 1 ? ExportGift(test, order).Text
                                                                    : ExportAiken(test, order).Text;
}

const Test& TenThousand()
{
    static const std::unique_ptr<Test> test = GenerateTest(10000);
    return *test;
}

void BM_QuizExport(benchmark::State& state)
{
    const Test& test = TenThousand();
    const DocumentOrder order = DocumentOrder::FromCollections(test);
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportedAs(static_cast<int>(state.range(0)), test, order).size());
}
BENCHMARK(BM_QuizExport)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QuizImport(benchmark::State& state)
{
    const Test& test = TenThousand();
    const int format = static_cast<int>(state.range(0));
    const std::string text = ExportedAs(format, test, DocumentOrder::FromCollections(test));
    const QuizFormat kinds[] = {QuizFormat::MoodleXml, QuizFormat::Gift, QuizFormat::Aiken};
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportQuiz(kinds[format], text, "bench").Read.get());
}
BENCHMARK(BM_QuizImport)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Moodle XML whose texts hold many "&": bare in HTML within CDATA, where each
// begins no entity, and escaped in an answer. Ten times the ampersands
// should cost about ten times as long.
void BM_XmlAmpersands(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    std::string xml = "<quiz><question type=\"multichoice\"><name><text>q</text></name>"
                      "<questiontext format=\"html\"><text><![CDATA[";
    for (std::size_t i = 0; i < count; ++i)
        xml += "a & b ";
    xml += "]]></text></questiontext><answer fraction=\"100\"><text>";
    for (std::size_t i = 0; i < count; ++i)
        xml += "&amp; ";
    xml += "</text></answer><answer fraction=\"0\"><text>x</text></answer></question></quiz>";
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportMoodleXml(xml, "bench").Read.get());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(xml.size()));
}
BENCHMARK(BM_XmlAmpersands)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

// GIFT shapes whose reading once grew with the square of their size: one
// question of N answers, and N lines of text with no blank line between.
// Each runs at N and 10 N: linear reading takes about ten times as long.
void BM_GiftManyAnswers(benchmark::State& state)
{
    std::string text = "::Длинный::Вопрос{\n";
    for (int64_t i = 0; i < state.range(0); ++i)
        text += "\t~%-5%неверный ответ номер " + std::to_string(i) + "\n";
    text += "\t=верный\n}\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportGift(text, "bench").Read.get());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_GiftManyAnswers)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GiftWithoutBlankLines(benchmark::State& state)
{
    std::string text;
    for (int64_t i = 0; i < state.range(0); ++i)
        text += "Строка текста вопроса номер " + std::to_string(i) + " {~a =b}\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportGift(text, "bench").Read.get());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_GiftWithoutBlankLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace mirvane::bench
