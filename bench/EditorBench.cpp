// The editor on the offscreen platform: showing a test of 10,000 questions in
// the tree, and selecting a node (store the panel, fill and lay out the next).
#include "GeneratedTest.h"

#include "../tests/ui/FakePlatform.h"
#include "editor/StructureTree.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/Twips.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace mirvane::bench {
namespace {

constexpr int kQuestions = 10000;

struct Editor {
    testing::FakePlatform platform;
    frmMain window{platform.Services()};
    Editor()
    {
        window.resize(Twips(12000), Twips(9000));
        window.show();
        QApplication::processEvents();
    }
};

void BM_ShowTestInTree(benchmark::State& state)
{
    Editor editor;
    for (auto _ : state) {
        state.PauseTiming();
        auto test = GenerateTest(kQuestions, 100);
        state.ResumeTiming();
        editor.window.ShowDocument(std::move(test));
        QApplication::processEvents(); // the tree paints its first screen
    }
}
BENCHMARK(BM_ShowTestInTree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SelectNode(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(GenerateTest(kQuestions, 100));
    StructureTree& tree = editor.window.Tree();
    // Alternate between a question deep in the test and its division, so
    // each step stores one kind of panel and fills the other.
    const DocumentOrder order = tree.Order();
    const std::string division = order.Divisions[70].Key;
    const std::string question = order.Divisions[70].QuestionKeys[50];
    bool onQuestion = false;
    for (auto _ : state) {
        tree.Select(onQuestion ? division : question);
        editor.window.tvTreeView_Click();
        QApplication::processEvents();
        onQuestion = !onQuestion;
    }
}
BENCHMARK(BM_SelectNode)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace mirvane::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
