#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "commands/CommandActions.h"
#include "editor/EditHistory.h"
#include "commands/StructuralEdits.h"
#include "testfile/TestFileWriter.h"
#include "mainwindow/SpinButtons.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QUndoStack>

#include <random>

namespace mirvane::testing {
namespace {

class History : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        // d1: q2 q3 q4; d5: q6; d7 (empty)
        Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Первый", ")?", "один", ")!1 ответ", ")?", "два", ")?", "три",
              ")* 1", "):Второй", ")?", "четыре", ")* 1", "):Третий"});
    }
    // The test as it would be saved now.
    std::string Saved()
    {
        const TestDocument& document = window->CommittedDocument();
        return WriteTestFile(document.Model(), document.Order());
    }
    void OnTree(const std::string& key)
    {
        Click(key);
        Parts(*window).Tree().Widget()->setFocus();
    }
    void Run(Command command) { Parts(*window).Actions().Get(command)->trigger(); }
    QAction* Action(Command command) { return Parts(*window).Actions().Get(command); }
    QUndoStack& Stack() { return Parts(*window).History().Stack(); }
    void RandomRun();
    void UndoAll()
    {
        while (Stack().canUndo())
            Run(Command::Undo);
    }
    void RedoAll()
    {
        while (Stack().canRedo())
            Run(Command::Redo);
    }
};

TEST_F(History, EveryKindOfStepIsUndoneAndRedoneExactly)
{
    const std::string first = Saved();
    std::vector<std::string> states{first};
    auto step = [&](const std::function<void()>& edit) {
        edit();
        states.push_back(Saved());
        EXPECT_NE(states.back(), states[states.size() - 2]) << "the edit changed nothing";
    };
    OnTree("q3");
    step([&] { Type(P().TextQuest, " и ещё"); });
    step([&] { Type(P().TextAnswer[2], "новый"); });
    step([&] { Parts(*window).Edits().AddQuestion(); });
    step([&] { Parts(*window).Edits().MoveUp(); });
    OnTree("d1");
    step([&] { Parts(*window).Edits().MoveDown(); });
    step([&] { Type(P().TextDivName, "X"); });
    OnTree("q2");
    step([&] { Parts(*window).Edits().CutItem(); });
    OnTree("d5");
    step([&] { Run(Command::Copy); Run(Command::Paste); });
    OnTree("d1");
    step([&] { Parts(*window).Edits().CutItem(); });
    OnTree("par");
    step([&] { P().CheckMissWork->click(); });
    step([&] { P().OptionLogType[2]->click(); });
    step([&] { Type(P().TestName, "!"); });
    OnTree("mrk");
    step([&] { Type(P().MarkText[3], "Хорошо"); });
    step([&] { P().MarkScoreText[0]->clear(); Type(P().MarkScoreText[0], "12"); }); // "Хорошо" is row 1 now
    ASSERT_EQ(Stack().count(), static_cast<int>(states.size()) - 1);
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        Run(Command::Undo);
        ASSERT_EQ(Saved(), states[i - 1]) << "after undoing step " << i;
    }
    EXPECT_FALSE(Action(Command::Undo)->isEnabled());
    for (std::size_t i = 1; i < states.size(); ++i) {
        Run(Command::Redo);
        ASSERT_EQ(Saved(), states[i]) << "after redoing step " << i;
    }
    EXPECT_FALSE(Action(Command::Redo)->isEnabled());
}

TEST_F(History, UndoShowsWhatItBringsBackAndNamesTheStep)
{
    OnTree("q3");
    EXPECT_FALSE(Action(Command::Undo)->isEnabled());
    EXPECT_EQ(Action(Command::Undo)->text(), "Отменить");
    Parts(*window).Edits().CutItem();
    EXPECT_EQ(Action(Command::Undo)->text(), "Отменить вырезание вопроса");
    Run(Command::Undo);
    EXPECT_EQ(Current(), "q3");
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), "q3");
    EXPECT_EQ(Parts(*window).Tree().ChildKey("d1", 1), "q3");
    EXPECT_EQ(P().TextQuest->toPlainText(), "два");
    EXPECT_EQ(Action(Command::Redo)->text(), "Повторить вырезание вопроса");

    // A field edit undone shows its node with the old value.
    Type(P().TextQuest, "X");
    OnTree("d5");
    Run(Command::Undo);
    EXPECT_EQ(Current(), "q3");
    EXPECT_EQ(P().TextQuest->toPlainText(), "два");
    EXPECT_EQ(Parts(*window).Tree().Text("q3"), "два");
    EXPECT_EQ(Action(Command::Redo)->text(), "Повторить изменение текста вопроса");

    // The menu reads as a sentence: the step in the accusative.
    OnTree("q3");
    Run(Command::Copy);
    Run(Command::Paste);
    EXPECT_EQ(Action(Command::Undo)->text(), "Отменить вставку вопроса");
    Run(Command::Undo);
    EXPECT_EQ(Action(Command::Redo)->text(), "Повторить вставку вопроса");
}

TEST_F(History, TypingInOneFieldIsOneStepUntilSomethingElseHappens)
{
    OnTree("q2");
    Type(P().TextQuest, "abc");
    Type(P().TextQuest, "def");
    EXPECT_EQ(Stack().count(), 1);
    Type(P().TextAnswer[0], "x"); // another field: another step
    EXPECT_EQ(Stack().count(), 2);
    Parts(*window).Edits().AddQuestion();
    OnTree("q2");
    Type(P().TextQuest, "g");
    Type(P().TextQuest, "h");
    EXPECT_EQ(Stack().count(), 4);
    Run(Command::Undo);
    EXPECT_EQ(P().TextQuest->toPlainText(), "abcdefодин");

    // Typed and taken back: nothing to undo for it.
    OnTree("d1");
    const int before = Stack().index();
    Type(P().TextDivName, "Z");
    EXPECT_EQ(Stack().index(), before + 1);
    QTest::keyClick(P().TextDivName, Qt::Key_Backspace);
    EXPECT_EQ(Stack().index(), before);
}

TEST_F(History, ATypingRunGoesIntoTheDocumentAsOneStepThatUndoAndRedoGiveBack)
{
    OnTree("q3");
    Type(P().TextQuest, "нов");
    const QString typed = P().TextQuest->toPlainText();
    ASSERT_NE(typed, "два");
    EXPECT_EQ(Stack().count(), 1);
    // The document and the tree have it at once, before the node is left.
    EXPECT_EQ(Document().QuestionAt("q3").Q(), typed.toStdString());
    EXPECT_EQ(Parts(*window).Tree().Text("q3"), typed);

    OnTree("d5");
    Run(Command::Undo);
    EXPECT_EQ(Current(), "q3");
    EXPECT_EQ(P().TextQuest->toPlainText(), "два");
    EXPECT_EQ(Document().QuestionAt("q3").Q(), "два");
    EXPECT_EQ(Parts(*window).Tree().Text("q3"), "два");
    OnTree("d5");
    Run(Command::Redo);
    EXPECT_EQ(Current(), "q3");
    EXPECT_EQ(P().TextQuest->toPlainText(), typed);
    EXPECT_EQ(Document().QuestionAt("q3").Q(), typed.toStdString());
    EXPECT_EQ(Stack().count(), 1);

    // A run of the spin buttons is one step too, named after its field.
    OnTree("d1");
    for (int i = 0; i < 3; ++i)
        static_cast<SpinButtons*>(P().UpDownNQ)->UpButton()->click();
    EXPECT_EQ(Document().DivisionAt("d1").NQ, 4);
    EXPECT_EQ(Stack().count(), 2);
    EXPECT_EQ(Action(Command::Undo)->text(), "Отменить изменение числа вопросов");
    Run(Command::Undo);
    EXPECT_EQ(Document().DivisionAt("d1").NQ, 1);
    EXPECT_EQ(P().TextNQ->text(), "1");

    // What a number box cannot hold waits for the store, yet is a step.
    Type(P().TextNQ, "x");
    EXPECT_EQ(Document().DivisionAt("d1").NQ, 1);
    EXPECT_EQ(Stack().index(), 2);
    Run(Command::Undo);
    EXPECT_EQ(P().TextNQ->text(), "1");
}

TEST_F(History, CtrlZInABoxUndoesTheDocumentAndNewOrOpenForgets)
{
    OnTree("d1");
    Type(P().TextDivName, "X");
    Parts(*window).Edits().AddQuestion();
    P().TextQuest->setFocus();
    QTest::keyClick(P().TextQuest, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Current(), "q4") << "the added question is taken out, not a letter of a box";
    EXPECT_EQ(Parts(*window).Tree().ChildCount("d1"), 3);
    P().TextDivName->setFocus();
    QTest::keyClick(P().TextDivName, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(P().TextDivName->text(), "Первый");
    QTest::keyClick(P().TextDivName, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(P().TextDivName->text(), "ПервыйX");

    Run(Command::New); // the save prompt is answered No

    EXPECT_FALSE(Stack().canUndo());
    EXPECT_FALSE(Stack().canRedo());
    EXPECT_FALSE(platform.prompter.shown.empty());
}

TEST_F(History, FiveHundredRandomEditsUndoToTheFirstDocumentAndRedoToTheLast) { RandomRun(); }

TEST_F(History, DivisionsOpenedLateUndoAndRedoAlike)
{
    Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Первый", ")?", "один", ")?", "два", ")* 1", "):Второй", ")?",
          "три"});
    const std::string first = Document().Order().Divisions[0].Key;
    const std::string second = Document().Order().Divisions[1].Key;
    EXPECT_EQ(Node(first)->childCount(), 0); // every division waits to be opened
    EXPECT_TRUE(Parts(*window).Tree().Widget()->model()->hasChildren(Node(first).at));
    Parts(*window).Tree().Select(Document().QuestionKeys(first)[1]); // "два": its division gets its nodes first
    EXPECT_EQ(Node(first)->childCount(), 2);
    EXPECT_EQ(Node(second)->childCount(), 0) << "the other division still waits";
    Node(second)->setExpanded(true);
    ASSERT_EQ(Node(second)->childCount(), 1);
    EXPECT_EQ(Node(second)->child(0)->text(0), "три");

    // Qt's own checks of the tree's model at every row it inserts, removes
    // or moves; they warn on a broken promise.
    static QStringList complaints;
    complaints.clear();
    const QtMessageHandler before = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            complaints << text;
    });
    {
        QAbstractItemModelTester tester(Parts(*window).Tree().Widget()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        RandomRun();
        const DocumentOrder shown = TreeOrder();
        ASSERT_EQ(shown.Divisions.size(), Document().Order().Divisions.size());
        for (std::size_t i = 0; i < shown.Divisions.size(); ++i) {
            EXPECT_EQ(shown.Divisions[i].Key, Document().Order().Divisions[i].Key);
            EXPECT_EQ(shown.Divisions[i].QuestionKeys, Document().Order().Divisions[i].QuestionKeys);
        }
    }
    qInstallMessageHandler(before);
    EXPECT_TRUE(complaints.isEmpty()) << complaints.join('\n').toStdString();
}

void History::RandomRun()
{
    std::mt19937 random(20261207);
    const std::string first = Saved();
    const QString letters = QStringLiteral("абв где xyz");
    for (int n = 0; n < 500; ++n) {
        std::vector<std::string> keys{"par", "mrk"};
        for (const auto& division : Document().Order().Divisions) {
            keys.push_back(division.Key);
            keys.insert(keys.end(), division.QuestionKeys.begin(), division.QuestionKeys.end());
        }
        const std::string key = keys[random() % keys.size()];
        OnTree(key);
        QString text;
        for (unsigned i = 1 + random() % 6; i > 0; --i)
            text += letters[static_cast<int>(random() % letters.size())];
        const NodeKind kind = KindOf(key);
        const int slot = static_cast<int>(random() % 9);
        switch (random() % 8) {
        case 0: Parts(*window).Edits().AddDivision(); break;
        case 1: Parts(*window).Edits().AddQuestion(); break;
        case 2: Parts(*window).Edits().CutItem(); break;
        case 3: Parts(*window).Edits().MoveUp(); break;
        case 4: Parts(*window).Edits().MoveDown(); break;
        case 5: Run(Command::Copy); Run(Command::Paste); break;
        default:
            if (kind == NodeKind::Question)
                Type(slot == 0 ? static_cast<QWidget*>(P().TextQuest) : P().TextAnswer[slot], text);
            else if (kind == NodeKind::Division)
                Type(P().TextDivName, text.trimmed() + "ы");
            else if (kind == NodeKind::Marks)
                Type(P().MarkText[slot], text.trimmed() + "ы");
            else
                Type(P().TestName, text);
        }
        if (n % 50 == 49) { // a few steps back and forth on the way
            Run(Command::Undo);
            Run(Command::Undo);
            Run(Command::Redo);
        }
    }
    Parts(*window).Edits().AddDivision();
    const std::string last = Saved();
    ASSERT_NE(first, last);
    UndoAll();
    EXPECT_EQ(Saved(), first);
    RedoAll();
    EXPECT_EQ(Saved(), last);
}

} // namespace
} // namespace mirvane::testing

#include "mainwindow/FindBar.h"

namespace mirvane::testing {
namespace {

class Find : public History {
protected:
    FindBar& Bar() { return Parts(*window).Find(); }
    void Search(const QString& text)
    {
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        Bar().TextBox()->setText(text);
    }
};

TEST_F(Find, CtrlFThenEnterAndF3SelectEachHitInItsBox)
{
    Search("тр");
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_TRUE(Bar().TextBox()->hasFocus());
    EXPECT_LT(P().Pane()->geometry().bottom(), Bar().geometry().top()) << "the bar is below the panel";
    QTest::keyClick(Bar().TextBox(), Qt::Key_Return);
    EXPECT_EQ(Current(), "q4");
    EXPECT_EQ(P().TextQuest->textCursor().selectedText(), "тр");
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(Current(), "d7"); // "Третий"
    EXPECT_EQ(P().TextDivName->selectedText(), "Тр") << "the case is ignored";
    QTest::keyClick(window.get(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Current(), "q4");

    // Something typed and not yet stored is found too.
    Click("q3");
    Type(P().TextAnswer[4], "трава");
    Bar().TextBox()->setFocus();
    Bar().MatchCaseBox()->setChecked(true);
    Bar().TextBox()->setText("Ва");
    EXPECT_FALSE(Bar().FindNext());
    EXPECT_EQ(Bar().Outcome(), "Не найдено");
    Bar().TextBox()->setText("ава");
    EXPECT_TRUE(Bar().FindNext());
    EXPECT_EQ(P().TextAnswer[4]->textCursor().selectedText(), "ава");
    QTest::keyClick(Bar().TextBox(), Qt::Key_Escape);
    EXPECT_FALSE(Bar().isVisible());
}

} // namespace
} // namespace mirvane::testing
