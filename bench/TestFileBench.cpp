// Reader and writer throughput on a generated test of about 50 MB.
#include "GeneratedTest.h"

#include "model/DocumentOrder.h"
#include "model/KeyCounter.h"
#include "testfile/TestFileReader.h"
#include "testfile/TestFileWriter.h"

#include <benchmark/benchmark.h>

namespace mirvane::bench {
namespace {

constexpr int kQuestions = 100000;

const std::string& LargeFile()
{
    static const std::string bytes = [] {
        auto test = GenerateTest(kQuestions);
        return WriteTestFile(*test, DocumentOrder::FromCollections(*test));
    }();
    return bytes;
}

void BM_ReadTestFile(benchmark::State& state)
{
    const std::string& bytes = LargeFile();
    for (auto _ : state) {
        ResetKeyNumbers();
        auto test = std::make_unique<Test>();
        TestFileReader reader(*test, {});
        benchmark::DoNotOptimize(reader.LoadFile(bytes));
        benchmark::DoNotOptimize(test->Divisions.Count());
        // Releasing the test is measured on its own below.
        state.PauseTiming();
        test.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_ReadTestFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReleaseTest(benchmark::State& state)
{
    const std::string& bytes = LargeFile();
    for (auto _ : state) {
        state.PauseTiming();
        ResetKeyNumbers();
        auto test = std::make_unique<Test>();
        TestFileReader reader(*test, {});
        reader.LoadFile(bytes);
        state.ResumeTiming();
        test.reset();
    }
}
BENCHMARK(BM_ReleaseTest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteTestFile(benchmark::State& state)
{
    ResetKeyNumbers();
    Test test;
    TestFileReader reader(test, {});
    reader.LoadFile(LargeFile());
    const DocumentOrder order = DocumentOrder::FromCollections(test);
    std::size_t size = 0;
    for (auto _ : state) {
        // Chunks go where a file write would take them; only their size is kept.
        size = 0;
        WriteTestFile(test, order, [&size](std::string_view chunk) { size += chunk.size(); });
        benchmark::DoNotOptimize(size);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_WriteTestFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace mirvane::bench
