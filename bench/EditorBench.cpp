// The editor on the offscreen platform: showing a test of 10,000 questions in
// the tree, and selecting a node (store the panel, fill and lay out the next).
#include "GeneratedTest.h"

#include "../tests/ui/FakePlatform.h"
#include "check/StructureCheckCommand.h"
#include "commands/CommandActions.h"
#include "editor/StructuralEdits.h"
#include "export/ExportCommands.h"
#include "export/SaveAsText.h"
#include "testfile/RecoveryStore.h"
#include "editor/StructureTree.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/Twips.h"
#include "document/TestDocument.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
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
        window.resize(TwipsToPixels(12000), TwipsToPixels(9000));
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
        editor.window.ShowDocument(std::make_unique<TestDocument>(std::move(test)));
        QApplication::processEvents(); // the tree paints its first screen
    }
}
BENCHMARK(BM_ShowTestInTree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SelectNode(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    StructureTree& tree = editor.window.Tree();
    // Alternate between a question deep in the test and its division, so
    // each step stores one kind of panel and fills the other.
    const DocumentOrder& order = editor.window.State().Document->Order();
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

// Structural edits on a test of 10,000 questions: each iteration adds a
// question after one deep in the test, moves it down and up, and deletes it.
void BM_StructuralEdit(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    StructureTree& tree = editor.window.Tree();
    StructuralEdits& edits = editor.window.Edits();
    const std::string anchor = editor.window.State().Document->Order().Divisions[70].QuestionKeys[50];
    const int op = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        tree.Select(anchor);
        editor.window.tvTreeView_Click();
        state.ResumeTiming();
        edits.AddQuestion();
        if (op >= 1)
            edits.MoveDown();
        if (op >= 2)
            edits.MoveUp();
        if (op >= 3)
            edits.DeleteItem(false);
        QApplication::processEvents();
        state.PauseTiming();
        if (op < 3)
            edits.DeleteItem(false);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
// 0: add; 1: add + move down; 2: + move up; 3: + delete. Each step's own
// cost is the difference between neighbouring rows.
BENCHMARK(BM_StructuralEdit)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MoveDivision(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    StructureTree& tree = editor.window.Tree();
    const std::string division = editor.window.State().Document->Order().Divisions[50].Key;
    tree.Select(division);
    editor.window.tvTreeView_Click();
    bool down = true;
    for (auto _ : state) {
        if (down)
            editor.window.Edits().MoveDown();
        else
            editor.window.Edits().MoveUp();
        QApplication::processEvents();
        down = !down;
    }
}
BENCHMARK(BM_MoveDivision)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeleteDivision(benchmark::State& state)
{
    Editor editor;
    for (auto _ : state) {
        state.PauseTiming();
        editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
        StructureTree& tree = editor.window.Tree();
        tree.Select(editor.window.State().Document->Order().Divisions[50].Key);
        editor.window.tvTreeView_Click();
        state.ResumeTiming();
        editor.window.Edits().DeleteItem(false);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_DeleteDivision)->Unit(benchmark::kMillisecond)->UseRealTime();

// The exports of a large test from the editor, from the command to the last
// byte written (the dialog answers at once).
void BM_ExportFromEditor(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(100000, 1000)));
    const QString path = QDir::temp().filePath(QStringLiteral("mirvane-bench-export.out"));
    const bool html = state.range(0) == 0;
    for (auto _ : state) {
        if (html) {
            editor.platform.fileDialogs.answers = {path};
            editor.window.Actions().Get(Command::ExportV25)->trigger();
        } else {
            editor.window.Actions().Get(Command::ExportText)->trigger();
            SaveAsText* window = editor.window.Exports().TextWindow();
            window->Option1[3]->setChecked(true);
            window->TextFileName->setText(path);
            window->CommandSave_Click();
        }
    }
    QFile::remove(path);
    if (!editor.platform.prompter.shown.empty())
        state.SkipWithError("the export reported a failure");
}
// 0: the HTML page; 1: the text window, all answers marked.
BENCHMARK(BM_ExportFromEditor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The structure check at 10,000 questions, with the finding's node selected:
// the rules on divisions pass, so every question is looked at up to the
// first finding.
void BM_SpellTest(benchmark::State& state)
{
    Editor editor;
    auto test = GenerateTest(kQuestions, 100);
    for (Division& d : test->Divisions)
        d.NQ = 0;
    editor.window.ShowDocument(std::make_unique<TestDocument>(std::move(test)));
    const DocumentOrder& order = editor.window.State().Document->Order();
    Question& faulty = editor.window.State().Document->QuestionAt(order.Divisions[90].QuestionKeys[40]);
    for (int i = 1; i < 10; ++i)
        faulty.ASet(i, "");
    for (auto _ : state) {
        editor.window.Check().SpellTest();
        QApplication::processEvents();
    }
    state.SetLabel("finding at " + editor.window.State().CurrentKey + ", planted at " + faulty.Key);
}
BENCHMARK(BM_SpellTest)->Unit(benchmark::kMillisecond)->UseRealTime();

// Copying a division of 1,000 questions and pasting it after itself, in a
// test of 10,000 questions.
void BM_CopyPasteDivision(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 1000)));
    const std::string division = editor.window.State().Document->Order().Divisions[5].Key;
    for (auto _ : state) {
        state.PauseTiming();
        editor.window.Tree().Select(division);
        editor.window.tvTreeView_Click();
        editor.window.Tree().Widget()->setFocus();
        state.ResumeTiming();
        editor.window.Actions().Get(Command::Copy)->trigger();
        editor.window.Actions().Get(Command::Paste)->trigger();
        QApplication::processEvents();
        state.PauseTiming();
        const std::string pasted = editor.window.State().Document->Order().Divisions[6].Key;
        editor.window.Tree().Select(pasted);
        editor.window.tvTreeView_Click();
        editor.window.Edits().DeleteItem(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyPasteDivision)->Unit(benchmark::kMillisecond)->UseRealTime();

// The copy of unsaved work at 10,000 questions: what the window's timer does
// on the user's thread (the bytes are written in the background).
void BM_SnapshotWork(benchmark::State& state)
{
    testing::FakePlatform platform;
    platform.recoveryFolder = QDir::temp().filePath(QStringLiteral("mirvane-bench-recovery"));
    frmMain window(platform.Services());
    window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    int n = 0;
    for (auto _ : state) {
        window.State().Document->Model().TestName = "Тест " + std::to_string(++n); // a change each time
        window.SnapshotWork();
        state.PauseTiming();
        window.Recovery()->Flush();
        state.ResumeTiming();
    }
    window.Recovery()->Discard();
}
BENCHMARK(BM_SnapshotWork)->Unit(benchmark::kMillisecond)->UseRealTime();

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
