// The editor on the offscreen platform: showing a test of 10,000 questions in
// the tree, and selecting a node (store the panel, fill and lay out the next).
#include "GeneratedTest.h"

#include "../tests/ui/FakePlatform.h"
#include "windows/FindingsDock.h"
#include "commands/StructureCheckCommand.h"
#include "commands/CommandActions.h"
#include "editor/EditHistory.h"
#include "commands/StructuralEdits.h"
#include "commands/ExportCommands.h"
#include "windows/SaveAsText.h"
#include "editor/RecoveryStore.h"
#include "tree/StructureTree.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/FindBar.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Twips.h"
#include "document/TestDocument.h"
#include "document/WorkCopy.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTreeView>
#include <QUndoStack>
#include <QElapsedTimer>
#include <QThreadPool>

#include <malloc.h>

#include <benchmark/benchmark.h>

namespace mirvane::bench {
namespace {

constexpr int kQuestions = 10000;

struct Editor {
    testing::FakePlatform platform;
    MainWindow window{platform.Services()};
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
        editor.window.ShowSelectedNode();
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
        editor.window.ShowSelectedNode();
        state.ResumeTiming();
        edits.AddQuestion();
        if (op >= 1)
            edits.MoveDown();
        if (op >= 2)
            edits.MoveUp();
        if (op >= 3)
            edits.CutItem();
        QApplication::processEvents();
        state.PauseTiming();
        if (op < 3)
            edits.CutItem();
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
    editor.window.ShowSelectedNode();
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
        editor.window.ShowSelectedNode();
        state.ResumeTiming();
        editor.window.Edits().CutItem();
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
            window->SaveText();
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
        editor.window.Check().RunCheck();
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
        editor.window.ShowSelectedNode();
        editor.window.Tree().Widget()->setFocus();
        state.ResumeTiming();
        editor.window.Actions().Get(Command::Copy)->trigger();
        editor.window.Actions().Get(Command::Paste)->trigger();
        QApplication::processEvents();
        state.PauseTiming();
        const std::string pasted = editor.window.State().Document->Order().Divisions[6].Key;
        editor.window.Tree().Select(pasted);
        editor.window.ShowSelectedNode();
        editor.window.Edits().CutItem();
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
    MainWindow window(platform.Services());
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

namespace mirvane::bench {
namespace {

// Undo and redo on a test of 10,000 questions: 0, a question typed into;
// 1, a question deleted; 2, a division of 100 questions deleted. Each
// iteration undoes the step and redoes it.
void BM_UndoRedo(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    const DocumentOrder& order = editor.window.State().Document->Order();
    const int kind = static_cast<int>(state.range(0));
    const std::string key = kind == 2 ? order.Divisions[70].Key : order.Divisions[70].QuestionKeys[50];
    editor.window.Tree().Select(key);
    editor.window.ShowSelectedNode();
    if (kind == 0)
        editor.window.Panels().TextAnswer[1]->insertPlainText(QStringLiteral("правка"));
    else
        editor.window.Edits().CutItem();
    EditHistory& history = editor.window.History();
    for (auto _ : state) {
        history.Undo();
        QApplication::processEvents();
        history.Redo();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_UndoRedo)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The memory a history of 1,000 steps holds beyond the document: typing in
// 500 questions, each followed by deleting the question after it (whose
// texts the history keeps).
void BM_HistoryOf1000Steps(benchmark::State& state)
{
    for (auto _ : state) {
        Editor editor;
        editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
        const std::size_t before = HeapInUse();
        const DocumentOrder& order = editor.window.State().Document->Order();
        for (int i = 0; i < 500; ++i) {
            const auto& division = order.Divisions[static_cast<std::size_t>(i % 90)];
            editor.window.Tree().Select(division.QuestionKeys[static_cast<std::size_t>(i / 90 * 2)]);
            editor.window.ShowSelectedNode();
            editor.window.Panels().TextQuest->insertPlainText(QStringLiteral("правка вопроса"));
            editor.window.Tree().Select(division.QuestionKeys[static_cast<std::size_t>(i / 90 * 2 + 1)]);
            editor.window.ShowSelectedNode();
            editor.window.Edits().CutItem();
        }
        QApplication::processEvents();
        state.counters["steps"] = editor.window.History().Stack().count();
        state.counters["history_MB"] = static_cast<double>(HeapInUse() - before) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_HistoryOf1000Steps)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A find that scans the whole test of 10,000 questions and finds nothing,
// with and without the case.
void BM_FindInWholeTest(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    FindBar& find = editor.window.Find();
    find.Open();
    find.MatchCaseBox()->setChecked(state.range(0) != 0);
    find.TextBox()->setText(QStringLiteral("нет такого текста"));
    for (auto _ : state)
        benchmark::DoNotOptimize(find.FindNext());
}
BENCHMARK(BM_FindInWholeTest)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The findings list following an edit of a test of 10,000 questions, with
// a question text being typed. On the user's thread (/0): taking what
// changed since the last check and starting the check, then taking its
// rows into the list once done; the copy is brought up to date and checked
// on another thread (/1 times that part). /2 is the user's thread again
// when each edit moves a question, so that the document's order goes with
// the step. The baseline, BM_WholeWorkCopy, copies the whole test as shown,
// as the user's thread did before each check.
void BM_FindingsRefresh(benchmark::State& state)
{
    Editor editor;
    auto test = GenerateTest(kQuestions, 100);
    test->Divisions.Item(3).Questions.Item(5).QSet(std::string(test->Divisions.Item(1).Questions.Item(1).Q()));
    editor.window.ShowDocument(std::make_unique<TestDocument>(std::move(test)));
    FindingsDock& dock = editor.window.Findings();
    dock.show();
    QThreadPool::globalInstance()->waitForDone();
    QApplication::processEvents();
    TestDocument& document = *editor.window.State().Document;
    const std::string question = document.Order().Divisions[70].QuestionKeys[50];
    editor.window.Tree().Select(question);
    editor.window.ShowSelectedNode();
    editor.window.Panels().TextQuest->setPlainText(QStringLiteral("Изменённый вопрос"));
    const bool moves = state.range(0) == 2;
    bool down = true;
    QElapsedTimer clock;
    for (auto _ : state) {
        if (moves) {
            state.PauseTiming();
            down ? document.MoveDown(question) : document.MoveUp(question);
            down = !down;
            state.ResumeTiming();
        }
        clock.start();
        dock.RefreshNow();
        const qint64 started = clock.nsecsElapsed();
        QThreadPool::globalInstance()->waitForDone();
        const qint64 checked = clock.nsecsElapsed();
        QApplication::processEvents(); // the rows come to the list
        const qint64 done = clock.nsecsElapsed();
        const qint64 onThread = started + (done - checked);
        state.SetIterationTime(static_cast<double>(state.range(0) == 1 ? checked - started : onThread) / 1e9);
    }
    state.counters["rows"] = static_cast<double>(dock.Rows().size());
}
BENCHMARK(BM_FindingsRefresh)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_WholeWorkCopy(benchmark::State& state)
{
    const TestDocument document(GenerateTest(kQuestions, 100));
    for (auto _ : state)
        benchmark::DoNotOptimize(CopyInDocumentOrder(document.Model(), document.Order()).get());
}
BENCHMARK(BM_WholeWorkCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

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
