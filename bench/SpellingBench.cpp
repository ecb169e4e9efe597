// Spelling: a keystroke in a question of 70 lines with the underlining on
// against the same keystroke with it off (BM_Keystroke/1 against /0), and
// the walk over a test of 10,000 questions: the words only cut out (the
// baseline, BM_SpellingWalk/0), checked with the answers kept (/1), and
// checked by a fresh checker, each distinct word asked of the dictionaries
// once (/2).
#include "GeneratedTest.h"
#include "../tests/ui/WindowParts.h"

#include "../tests/ui/FakePlatform.h"
#include "check/SpellChecker.h"
#include "check/SpellingWalk.h"
#include "check/SpellingWords.h"
#include "document/TestDocument.h"
#include "tree/StructureTree.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/PanelSpelling.h"
#include "mainwindow/Twips.h"
#include "mainwindow/MainWindow.h"
#include "model/DocumentOrder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <benchmark/benchmark.h>

namespace mirvane::bench {
namespace {

// A few misspelt words among the generated ones, as a real test has.
std::unique_ptr<Test> TestWithTypos(int questions)
{
    static const char* const kTypos[] = {"вапрос", "атвет", "уровнение", "трейгольник", "скорасть", "энэргия",
                                         "малекула", "гасударство", "литиратура", "праизведение"};
    auto test = GenerateTest(questions, 100);
    int n = 0;
    for (Division& division : test->Divisions) {
        for (Question& question : division.Questions) {
            if (++n % 50 == 0)
                question.QSet(std::string(question.Q()) + ' ' + kTypos[n / 50 % 10]);
        }
    }
    return test;
}

void BM_Keystroke(benchmark::State& state)
{
    testing::FakePlatform platform;
    platform.dictionaries = [] { return std::make_unique<SpellChecker>(); };
    MainWindow window(platform.Services());
    window.resize(TwipsToPixels(12000), TwipsToPixels(9000));
    window.show();
    Parts(window).Spelling().WaitForDictionaries();
    if (!Parts(window).Spelling().Available()) {
        state.SkipWithError("no Russian dictionary");
        return;
    }
    Parts(window).Spelling().SetUnderlining(state.range(0) == 1);
    window.ShowDocument(std::make_unique<TestDocument>(TestWithTypos(1)));
    const std::string key = Parts(window).State().Document->Order().Divisions[0].QuestionKeys[0];
    Parts(window).Tree().Select(key);
    window.ShowSelectedNode();
    QPlainTextEdit* box = Parts(window).Panels().TextQuest;
    // 70 lines of ten words, one misspelt in each.
    QStringList lines;
    for (int i = 0; i < 70; ++i)
        lines << QStringLiteral("Определите скорость и ускорение тела массой %1 кг, вычислите энергию атвет").arg(i);
    box->setPlainText(lines.join(QLatin1Char('\n')));
    QApplication::processEvents();
    box->setFocus();
    QTextCursor cursor(box->document()->findBlockByNumber(35));
    cursor.movePosition(QTextCursor::EndOfBlock);
    box->setTextCursor(cursor);
    bool type = true;
    for (auto _ : state) {
        // A letter, then a backspace: the text keeps its size.
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_unknown : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("а") : QString());
        QApplication::sendEvent(box, &press);
        QApplication::processEvents();
        type = !type;
    }
}
BENCHMARK(BM_Keystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SpellingWalk(benchmark::State& state)
{
    static const std::unique_ptr<Test> test = TestWithTypos(10000);
    const DocumentOrder order = DocumentOrder::FromCollections(*test);
    auto checker = std::make_unique<SpellChecker>();
    if (!checker->Available()) {
        state.SkipWithError("no Russian dictionary");
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        if (state.range(0) == 2) {
            state.PauseTiming();
            checker = std::make_unique<SpellChecker>();
            state.ResumeTiming();
        }
        const std::vector<SpellingText> texts = SpellingTexts(*test, order);
        found = 0;
        if (state.range(0) == 0) {
            for (const SpellingText& text : texts)
                found += CheckedWords(text.Text).size();
        } else {
            for (auto next = NextMisspelling(texts, *checker, {}, texts.size()); next;
                 next = NextMisspelling(texts, *checker, {next->Place.Text, next->Place.Offset + next->Length},
                                        texts.size()))
                ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["asked"] = static_cast<double>(checker->LookUps());
}
BENCHMARK(BM_SpellingWalk)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace mirvane::bench
