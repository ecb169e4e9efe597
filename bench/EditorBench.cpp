// The editor on the offscreen platform: showing a test of 10,000 questions in
// the tree, and selecting a node (store the panel, fill and lay out the next).
#include "GeneratedTest.h"
#include "../tests/ui/WindowParts.h"

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
#include <QAbstractItemModel>
#include <QApplication>
#include <QMimeData>
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
    StructureTree& tree = Parts(editor.window).Tree();
    // Alternate between a question deep in the test and its division, so
    // each step stores one kind of panel and fills the other.
    const DocumentOrder& order = Parts(editor.window).State().Document->Order();
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
    StructureTree& tree = Parts(editor.window).Tree();
    StructuralEdits& edits = Parts(editor.window).Edits();
    const std::string anchor = Parts(editor.window).State().Document->Order().Divisions[70].QuestionKeys[50];
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
    StructureTree& tree = Parts(editor.window).Tree();
    const std::string division = Parts(editor.window).State().Document->Order().Divisions[50].Key;
    tree.Select(division);
    editor.window.ShowSelectedNode();
    bool down = true;
    for (auto _ : state) {
        if (down)
            Parts(editor.window).Edits().MoveDown();
        else
            Parts(editor.window).Edits().MoveUp();
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
        StructureTree& tree = Parts(editor.window).Tree();
        tree.Select(Parts(editor.window).State().Document->Order().Divisions[50].Key);
        editor.window.ShowSelectedNode();
        state.ResumeTiming();
        Parts(editor.window).Edits().CutItem();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_DeleteDivision)->Unit(benchmark::kMillisecond)->UseRealTime();

// A question dragged into another division and back, through the model as
// a drop goes (mimeData, then dropMimeData), each drop one iteration: /1.
// The baseline /0 moves the same question one place down and up with the
// menu command, in the same run.
void BM_DragQuestion(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    StructureTree& tree = Parts(editor.window).Tree();
    QAbstractItemModel* model = tree.Widget()->model();
    const DocumentOrder& order = Parts(editor.window).State().Document->Order();
    const std::string home = order.Divisions[70].Key;
    const std::string away = order.Divisions[20].Key;
    const std::string question = order.Divisions[70].QuestionKeys[50];
    tree.Select(question);
    editor.window.ShowSelectedNode();
    const bool drag = state.range(0) == 1;
    bool there = false;
    for (auto _ : state) {
        if (drag) {
            std::unique_ptr<QMimeData> data(model->mimeData({tree.Index(question)}));
            const QModelIndex into = tree.Index(there ? home : away);
            model->dropMimeData(data.get(), Qt::MoveAction, there ? 50 : 0, 0, into);
        } else if (there) {
            Parts(editor.window).Edits().MoveUp();
        } else {
            Parts(editor.window).Edits().MoveDown();
        }
        QApplication::processEvents();
        there = !there;
    }
    if (Parts(editor.window).State().Document->ParentOf(question) != (drag && there ? away : home))
        state.SkipWithError("the question did not move");
}
BENCHMARK(BM_DragQuestion)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Deleting questions selected in the tree (/1: 100 of them, one in each
// division, so that every division is opened; /0, the baseline: one), and
// the undo of that delete (/2 and /3 the same for the undo).
void BM_DeleteSelected(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 100)));
    StructureTree& tree = Parts(editor.window).Tree();
    const DocumentOrder& order = Parts(editor.window).State().Document->Order();
    const bool several = state.range(0) % 2 == 1;
    const bool undo = state.range(0) >= 2;
    std::vector<std::string> keys;
    for (const auto& division : order.Divisions) {
        keys.push_back(division.QuestionKeys[50]);
        if (!several)
            break;
    }
    auto select = [&] {
        tree.Select(keys.front());
        editor.window.ShowSelectedNode();
        tree.SelectAlso(keys);
    };
    auto remove = [&] {
        editor.platform.prompter.answers = {Prompter::Answer::Yes};
        Parts(editor.window).Edits().DeleteItem();
        QApplication::processEvents();
    };
    auto restore = [&] {
        Parts(editor.window).History().Undo();
        QApplication::processEvents();
    };
    for (auto _ : state) {
        state.PauseTiming();
        select();
        if (undo)
            remove();
        QApplication::processEvents();
        state.ResumeTiming();
        undo ? restore() : remove();
        state.PauseTiming();
        if (!undo)
            restore();
        state.ResumeTiming();
    }
    if (tree.SelectedKeys().size() != keys.size() || Parts(editor.window).History().Stack().count() != 1)
        state.SkipWithError("the delete was not one step");
}
BENCHMARK(BM_DeleteSelected)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

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
            Parts(editor.window).Actions().Get(Command::ExportV25)->trigger();
        } else {
            Parts(editor.window).Actions().Get(Command::ExportText)->trigger();
            SaveAsText* window = Parts(editor.window).Exports().TextWindow();
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
    const DocumentOrder& order = Parts(editor.window).State().Document->Order();
    Question& faulty = Parts(editor.window).State().Document->QuestionAt(order.Divisions[90].QuestionKeys[40]);
    for (int i = 1; i < 10; ++i)
        faulty.ASet(i, "");
    for (auto _ : state) {
        Parts(editor.window).Check().RunCheck();
        QApplication::processEvents();
    }
    state.SetLabel("finding at " + Parts(editor.window).State().CurrentKey + ", planted at " + faulty.Key);
}
BENCHMARK(BM_SpellTest)->Unit(benchmark::kMillisecond)->UseRealTime();

// Copying a division of 1,000 questions and pasting it after itself, in a
// test of 10,000 questions.
void BM_CopyPasteDivision(benchmark::State& state)
{
    Editor editor;
    editor.window.ShowDocument(std::make_unique<TestDocument>(GenerateTest(kQuestions, 1000)));
    const std::string division = Parts(editor.window).State().Document->Order().Divisions[5].Key;
    for (auto _ : state) {
        state.PauseTiming();
        Parts(editor.window).Tree().Select(division);
        editor.window.ShowSelectedNode();
        Parts(editor.window).Tree().Widget()->setFocus();
        state.ResumeTiming();
        Parts(editor.window).Actions().Get(Command::Copy)->trigger();
        Parts(editor.window).Actions().Get(Command::Paste)->trigger();
        QApplication::processEvents();
        state.PauseTiming();
        const std::string pasted = Parts(editor.window).State().Document->Order().Divisions[6].Key;
        Parts(editor.window).Tree().Select(pasted);
        editor.window.ShowSelectedNode();
        Parts(editor.window).Edits().CutItem();
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
        Parts(window).State().Document->Model().TestName = "Тест " + std::to_string(++n); // a change each time
        window.SnapshotWork();
        state.PauseTiming();
        Parts(window).Recovery()->Flush();
        state.ResumeTiming();
    }
    Parts(window).Recovery()->Discard();
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
    const DocumentOrder& order = Parts(editor.window).State().Document->Order();
    const int kind = static_cast<int>(state.range(0));
    const std::string key = kind == 2 ? order.Divisions[70].Key : order.Divisions[70].QuestionKeys[50];
    Parts(editor.window).Tree().Select(key);
    editor.window.ShowSelectedNode();
    if (kind == 0)
        Parts(editor.window).Panels().TextAnswer[1]->insertPlainText(QStringLiteral("правка"));
    else
        Parts(editor.window).Edits().CutItem();
    EditHistory& history = Parts(editor.window).History();
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
        const DocumentOrder& order = Parts(editor.window).State().Document->Order();
        for (int i = 0; i < 500; ++i) {
            const auto& division = order.Divisions[static_cast<std::size_t>(i % 90)];
            Parts(editor.window).Tree().Select(division.QuestionKeys[static_cast<std::size_t>(i / 90 * 2)]);
            editor.window.ShowSelectedNode();
            Parts(editor.window).Panels().TextQuest->insertPlainText(QStringLiteral("правка вопроса"));
            Parts(editor.window).Tree().Select(division.QuestionKeys[static_cast<std::size_t>(i / 90 * 2 + 1)]);
            editor.window.ShowSelectedNode();
            Parts(editor.window).Edits().CutItem();
        }
        QApplication::processEvents();
        state.counters["steps"] = Parts(editor.window).History().Stack().count();
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
    FindBar& find = Parts(editor.window).Find();
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
    FindingsDock& dock = Parts(editor.window).Findings();
    dock.show();
    QThreadPool::globalInstance()->waitForDone();
    QApplication::processEvents();
    TestDocument& document = *Parts(editor.window).State().Document;
    const std::string question = document.Order().Divisions[70].QuestionKeys[50];
    Parts(editor.window).Tree().Select(question);
    editor.window.ShowSelectedNode();
    Parts(editor.window).Panels().TextQuest->setPlainText(QStringLiteral("Изменённый вопрос"));
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
