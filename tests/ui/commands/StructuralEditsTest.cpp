#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "clipboard/ClipboardRecord.h"
#include "commands/CommandActions.h"
#include "editor/EditHistory.h"
#include "commands/StructuralEdits.h"
#include "platform/TextBridge.h"
#include "testfile/TestFileWriter.h"

#include <QAction>
#include <QLabel>
#include <QMimeData>
#include <QUndoStack>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <random>

namespace mirvane::testing {
namespace {

using Answer = Prompter::Answer;

class Edits : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        // d1: q2 q3 q4; d5: q6; d7 (empty)
        Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Первый", ")?", "один", ")?", "два", ")?", "три", ")* 1",
              "):Второй", ")?", "четыре", ")* 1", "):Третий"});
        platform.prompter.Clear();
    }
    StructuralEdits& E() { return Parts(*window).Edits(); }
    void Select(const std::string& key)
    {
        Parts(*window).Tree().Select(key);
        window->ShowSelectedNode();
    }
    std::vector<std::string> Roots()
    {
        std::vector<std::string> keys;
        QAbstractItemModel* model = Parts(*window).Tree().Widget()->model();
        for (int i = 0; i < model->rowCount(); ++i)
            keys.push_back(model->index(i, 0).data(Qt::UserRole).toString().toStdString());
        return keys;
    }
    std::vector<std::string> Children(const std::string& key)
    {
        std::vector<std::string> keys;
        for (int i = 0; i < Parts(*window).Tree().ChildCount(key); ++i)
            keys.push_back(Parts(*window).Tree().ChildKey(key, i));
        return keys;
    }
    using Keys = std::vector<std::string>;
};

TEST_F(Edits, AddDivisionWhereTheSelectionSays)
{
    Select("mrk");
    EXPECT_EQ(E().AddDivision(), "d8");
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d8", "d1", "d5", "d7"}));
    EXPECT_EQ(Current(), "d8");
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), "d8");
    EXPECT_EQ(Node("d8")->text(0), "Новый раздел");
    EXPECT_EQ(Doc().Divisions.Item("d8").Name, "Новый раздел");
    EXPECT_EQ(Doc().Divisions.Item("d8").NQ, 1);
    EXPECT_EQ(P().TextDivName->text(), "Новый раздел");
    EXPECT_TRUE(P().TextDivName->isVisible());

    Select("q3");
    EXPECT_EQ(E().AddDivision(), "d9");
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d8", "d1", "d9", "d5", "d7"}));

    Select("d5");
    E().AddDivision();
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d8", "d1", "d9", "d5", "d10", "d7"}));
    Select("par");
    E().AddDivision();
    EXPECT_EQ(Roots()[2], "d11");
    // New items go to the end of their collection.
    EXPECT_EQ(Doc().Divisions.Item(Doc().Divisions.Count()).Key, "d11");
}

TEST_F(Edits, AddQuestionWhereTheSelectionSays)
{
    Select("d1");
    EXPECT_EQ(E().AddQuestion(), "q8");
    EXPECT_EQ(Children("d1"), (Keys{"q2", "q3", "q4", "q8"}));
    EXPECT_EQ(Current(), "q8");
    EXPECT_TRUE(P().TextQuest->isVisible());
    EXPECT_EQ(P().TextQuest->toPlainText(), "");
    EXPECT_TRUE(Node("d1")->isExpanded());

    Select("q2");
    EXPECT_EQ(E().AddQuestion(), "q9");
    EXPECT_EQ(Children("d1"), (Keys{"q2", "q9", "q3", "q4", "q8"}));
    // The collection has it at its end; saving follows the tree.
    const auto& questions = Doc().Divisions.Item("d1").Questions;
    EXPECT_EQ(questions.Item(questions.Count()).Key, "q9");
    P().TextQuest->setPlainText("вставленный");
    window->ShowSelectedNode();
    const std::string file = WriteTestFile(Doc(), Document().Order());
    const std::string text = OemToAnsi(file);
    EXPECT_LT(text.find("один"), text.find("вставленный"));
    EXPECT_LT(text.find("вставленный"), text.find("два"));
}

TEST_F(Edits, AddQuestionOnTheFixedNodesUsesUpAKey)
{
    Select("par");
    EXPECT_EQ(E().AddQuestion(), "");
    EXPECT_EQ(Current(), "par");
    Select("d7");
    EXPECT_EQ(E().AddQuestion(), "q9"); // q8 was drawn and not used
}

TEST_F(Edits, DeletingQuestionsSelectsTheNextThePreviousOrTheDivision)
{
    Select("q3");
    E().CutItem();
    EXPECT_EQ(Children("d1"), (Keys{"q2", "q4"}));
    EXPECT_EQ(Current(), "q4");
    EXPECT_FALSE(Doc().Divisions.Item("d1").Questions.Contains("q3"));
    E().CutItem(); // the last of several: the one before it
    EXPECT_EQ(Current(), "q2");
    EXPECT_EQ(P().TextQuest->toPlainText(), "один");
    E().CutItem(); // the only one: its division, now with none
    EXPECT_EQ(Current(), "d1");
    EXPECT_EQ(P().LabelFNQ->text(), "Всего в разделе 0 вопросов");
    EXPECT_TRUE(Doc().Divisions.Item("d1").Questions.Empty());
    EXPECT_TRUE(platform.prompter.shown.empty()); // no confirmation asked
}

TEST_F(Edits, DeletingDivisionsSelectsTheNextThePreviousOrTheParameters)
{
    Select("d5");
    E().CutItem();
    EXPECT_EQ(Current(), "d7");
    EXPECT_FALSE(Doc().Divisions.Contains("d5"));
    EXPECT_FALSE(Parts(*window).Tree().Contains("q6"));
    E().CutItem(); // the last of several: the one before it
    EXPECT_EQ(Current(), "d1");
    E().CutItem(); // the only one
    EXPECT_EQ(Current(), "par");
    EXPECT_EQ(Roots(), (Keys{"par", "mrk"}));
    EXPECT_EQ(Doc().Divisions.Count(), 0u);
    E().DeleteItem(); // nothing to delete on the parameters
    EXPECT_TRUE(platform.prompter.shown.empty());
}

TEST_F(Edits, ConfirmationNoChangesNothingNotEvenThePanel)
{
    Select("q3");
    P().TextQuest->setPlainText("правка");
    platform.prompter.answers = {Answer::No};
    E().DeleteItem();
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Вы действительно хотите удалить вопрос?");
    EXPECT_EQ(platform.prompter.shown[0].Caption, "Запрос");
    EXPECT_EQ(platform.prompter.shown[0].Kind, ScriptedPrompter::Shown::YesNo);
    EXPECT_EQ(Current(), "q3");
    EXPECT_EQ(P().TextQuest->toPlainText(), "правка");
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item("q3").Q(), "правка"); // as typed, nothing more

    Select("d5");
    platform.prompter.answers = {Answer::No};
    E().DeleteItem();
    EXPECT_EQ(platform.prompter.shown.back().Text, "Вы действительно хотите удалить раздел ?");
    EXPECT_TRUE(Doc().Divisions.Contains("d5"));
    platform.prompter.answers = {Answer::Yes};
    E().DeleteItem();
    EXPECT_FALSE(Doc().Divisions.Contains("d5"));
}

TEST_F(Edits, UnsavedTypingGoesWithTheDeletedQuestion)
{
    Select("q3");
    P().TextQuest->setPlainText("несохранённое");
    E().CutItem();
    EXPECT_EQ(Current(), "q4");
    EXPECT_EQ(P().TextQuest->toPlainText(), "три");
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item("q4").Q(), "три");
}

TEST_F(Edits, MovingQuestionsStaysInTheDivision)
{
    Select("q2");
    E().MoveUp();
    EXPECT_EQ(Children("d1"), (Keys{"q2", "q3", "q4"}));
    E().MoveDown();
    EXPECT_EQ(Children("d1"), (Keys{"q3", "q2", "q4"}));
    EXPECT_EQ(Current(), "q2");
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), "q2");
    EXPECT_EQ(Node("q2")->text(0), "один");
    E().MoveDown();
    E().MoveDown(); // last of its division: another division follows, still nothing
    EXPECT_EQ(Children("d1"), (Keys{"q3", "q4", "q2"}));
    EXPECT_EQ(Children("d5"), (Keys{"q6"}));
    // The collection keeps its order; only the tree moved.
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item(1).Key, "q2");
}

TEST_F(Edits, MovingKeepsThePanelWithItsTyping)
{
    Select("q3");
    P().TextQuest->setPlainText("набрано");
    E().MoveUp();
    EXPECT_EQ(Current(), "q3");
    EXPECT_EQ(P().TextQuest->toPlainText(), "набрано");
    Select("q4");
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item("q3").Q(), "набрано");
}

TEST_F(Edits, MovingDivisionsKeepsTheirQuestionsAndShowsThemCollapsed)
{
    Select("d1");
    E().MoveUp(); // the first division does not move above the marks
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d1", "d5", "d7"}));
    Select("d7");
    E().MoveDown();
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d1", "d5", "d7"}));
    Node("d1")->setExpanded(true);
    Select("d5");
    E().MoveUp();
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d5", "d1", "d7"}));
    Select("d1");
    E().MoveDown();
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d5", "d7", "d1"}));
    EXPECT_EQ(Children("d1"), (Keys{"q2", "q3", "q4"}));
    EXPECT_EQ(Node("q3")->text(0), "два");
    EXPECT_FALSE(Node("d1")->isExpanded());
    EXPECT_EQ(Current(), "d1");
    EXPECT_EQ(Node("d1")->text(0), "Первый");

    // Saving and reopening gives the moved order with the same questions.
    const std::string file = WriteTestFile(Doc(), Document().Order());
    auto back = LoadBytes(file);
    ASSERT_EQ(back.test->Divisions.Count(), 3u);
    EXPECT_EQ(back.test->Divisions.Item(1).Name, "Второй");
    EXPECT_EQ(back.test->Divisions.Item(3).Name, "Первый");
    EXPECT_EQ(back.test->Divisions.Item(3).Questions.Item(2).Q(), "два");
}

// A drop as the tree's view makes it: the dragged node's data let go between
// rows (`row` before which) or onto the node `onto`.
bool Drop(MainWindow& window, const std::string& key, int row, const std::string& onto)
{
    QAbstractItemModel* model = Parts(window).Tree().Widget()->model();
    const std::unique_ptr<QMimeData> data(model->mimeData({Parts(window).Tree().Index(key)}));
    const QModelIndex parent = onto.empty() ? QModelIndex() : Parts(window).Tree().Index(onto);
    return model->canDropMimeData(data.get(), Qt::MoveAction, row, 0, parent) &&
           model->dropMimeData(data.get(), Qt::MoveAction, row, 0, parent);
}

TEST_F(Edits, DraggingKeepsTheMoveRulesAndEachDropIsOneStep)
{
    Select("q3");
    P().TextQuest->setPlainText("набрано");
    EXPECT_TRUE(Drop(*window, "q2", -1, "d5")); // onto a division: its last question
    EXPECT_EQ(Children("d1"), (Keys{"q3", "q4"}));
    EXPECT_EQ(Children("d5"), (Keys{"q6", "q2"}));
    EXPECT_EQ(Current(), "q2");
    EXPECT_EQ(Doc().Divisions.Item("d1").Questions.Item("q3").Q(), "набрано"); // stored before the move
    EXPECT_EQ(Parts(*window).History().Stack().undoText(), "перемещение вопроса");
    EXPECT_TRUE(Drop(*window, "q4", 0, "d1"));  // between rows: before the first
    EXPECT_TRUE(Drop(*window, "q6", -1, "q3")); // onto a question: after it
    EXPECT_EQ(Children("d1"), (Keys{"q4", "q3", "q6"}));

    EXPECT_FALSE(Drop(*window, "d7", 1, ""));    // above the marks
    EXPECT_FALSE(Drop(*window, "q6", 3, ""));    // a question among the divisions
    EXPECT_FALSE(Drop(*window, "d5", -1, "q3")); // a division onto a question
    EXPECT_FALSE(Drop(*window, "d5", 3, ""));    // where it stands
    EXPECT_TRUE(Drop(*window, "d7", 2, ""));     // the first division
    EXPECT_TRUE(Drop(*window, "d1", -1, "d5"));  // onto a division: after it
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d7", "d5", "d1"}));
    EXPECT_EQ(Parts(*window).History().Stack().undoText(), "перемещение раздела");

    for (int i = 0; i < 5; ++i)
        Parts(*window).History().Undo();
    EXPECT_EQ(Roots(), (Keys{"par", "mrk", "d1", "d5", "d7"}));
    EXPECT_EQ(Children("d1"), (Keys{"q2", "q3", "q4"}));
    EXPECT_EQ(Children("d5"), (Keys{"q6"}));
    EXPECT_EQ(Document().Order().Divisions[0].QuestionKeys, (Keys{"q2", "q3", "q4"}));
}

// Random adds, moves and deletes from the editor: after each the tree shows
// the document's order (the operations themselves are checked against a
// list model in the core), the selection and the current key agree, and the
// file saved at the end holds the tree's order.
TEST_F(Edits, RandomEditsKeepTheTreeOnTheDocument)
{
    std::mt19937 random(20261207);
    for (int step = 0; step < 300; ++step) {
        std::vector<std::string> all = {"par", "mrk"};
        for (const auto& d : Document().Order().Divisions) {
            all.push_back(d.Key);
            all.insert(all.end(), d.QuestionKeys.begin(), d.QuestionKeys.end());
        }
        Select(all[random() % all.size()]);
        switch (random() % 5) {
        case 0:
            E().AddDivision();
            break;
        case 1:
            if (!E().AddQuestion().empty())
                P().TextQuest->setPlainText(QString::fromStdString("вопрос " + Current()));
            break;
        case 2:
            E().CutItem();
            break;
        case 3:
            E().MoveUp();
            break;
        default:
            E().MoveDown();
            break;
        }
        ASSERT_EQ(Parts(*window).Tree().SelectedKey(), Current()) << step;
        const DocumentOrder shown = TreeOrder();
        const DocumentOrder& order = Document().Order();
        ASSERT_EQ(shown.Divisions.size(), order.Divisions.size()) << step;
        for (std::size_t i = 0; i < order.Divisions.size(); ++i) {
            ASSERT_EQ(shown.Divisions[i].Key, order.Divisions[i].Key) << step;
            ASSERT_EQ(shown.Divisions[i].QuestionKeys, order.Divisions[i].QuestionKeys) << step;
        }
    }

    window->ShowSelectedNode();
    const DocumentOrder shown = TreeOrder();
    auto back = LoadBytes(WriteTestFile(Doc(), Document().Order()));
    ASSERT_EQ(back.test->Divisions.Count(), shown.Divisions.size());
    for (std::size_t i = 0; i < shown.Divisions.size(); ++i) {
        const Division& d = back.test->Divisions.Item(i + 1);
        ASSERT_EQ(d.Questions.Count(), shown.Divisions[i].QuestionKeys.size());
        for (std::size_t j = 0; j < d.Questions.Count(); ++j)
            EXPECT_EQ(d.Questions.Item(j + 1).Q(), Document().QuestionAt(shown.Divisions[i].QuestionKeys[j]).Q());
    }
}

// Several nodes selected with Ctrl and Shift: deleting, copying and moving
// act on all of them, each as one step of the history.
class SeveralSelected : public Edits {
protected:
    void SetUp() override
    {
        Edits::SetUp();
        Parts(*window).Tree().Widget()->setFocus();
    }
    void Run(Command command) { Parts(*window).Actions().Get(command)->trigger(); }
    // The file as a save would write it, the panel stored first.
    std::string Saved()
    {
        const TestDocument& document = window->CommittedDocument();
        return WriteTestFile(document.Model(), document.Order());
    }
    int Steps() { return Parts(*window).History().Stack().count(); }
};

TEST_F(SeveralSelected, DeletingSeveralAsksOnceAndIsOneStep)
{
    const std::string before = Saved();
    Click("q2");
    Click("q4", Qt::ShiftModifier);
    Click("d5", Qt::ControlModifier);
    EXPECT_EQ(Parts(*window).Tree().SelectedKeys(), (Keys{"q2", "q3", "q4", "d5"}));
    EXPECT_EQ(Current(), "d5"); // the panel shows the node clicked last
    EXPECT_TRUE(P().TextDivName->isVisible());

    platform.prompter.answers = {Prompter::Answer::No};
    Key(Qt::Key_Delete);
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Вы действительно хотите удалить выбранные элементы (4)?");
    EXPECT_EQ(platform.prompter.shown[0].Caption, "Запрос");
    EXPECT_EQ(Saved(), before);

    platform.prompter.answers = {Prompter::Answer::Yes};
    Key(Qt::Key_Delete);
    EXPECT_EQ(platform.prompter.shown.size(), 2u);
    EXPECT_TRUE(Document().QuestionKeys("d1").empty());
    EXPECT_FALSE(Document().Contains("d5"));
    EXPECT_EQ(Current(), "d1"); // it lost every question
    EXPECT_EQ(Parts(*window).Tree().SelectedKeys(), (Keys{"d1"}));
    EXPECT_EQ(Steps(), 1);

    Parts(*window).History().Undo();
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(Parts(*window).Tree().SelectedKeys(), (Keys{"q2", "q3", "q4", "d5"}));
    EXPECT_TRUE(TreeFollowsDocument());

    // A division with its own question selected goes once, asked as alone.
    Click("d1");
    Click("q3", Qt::ControlModifier);
    Click("mrk", Qt::ControlModifier);
    platform.prompter.answers = {Prompter::Answer::Yes};
    Key(Qt::Key_Delete);
    EXPECT_EQ(platform.prompter.shown.back().Text, "Вы действительно хотите удалить раздел ?");
    EXPECT_FALSE(Document().Contains("d1"));
    EXPECT_EQ(Steps(), 1); // the undone step gave way to this one

    // Undone with Ctrl held, the item comes back as the one node selected.
    Click("q6");
    Run(Command::Cut);
    QTest::keyClick(Parts(*window).Tree().Widget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Parts(*window).Tree().SelectedKeys(), (Keys{"q6"}));
    EXPECT_EQ(Current(), "q6");
}

TEST_F(SeveralSelected, CommandsActOnTheSelectionNotOnANodeCtrlClickedOutOfIt)
{
    // q4 taken out of the selection again: the panel still shows it, but
    // only q2 is selected.
    Click("q2");
    Click("q4", Qt::ControlModifier);
    Click("q4", Qt::ControlModifier);
    ASSERT_EQ(Parts(*window).Tree().SelectedKeys(), (Keys{"q2"}));
    Run(Command::Copy);
    const std::vector<ClipboardRecord> records = ParseClipboardRecords(ToModel(platform.clipboard.text));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Questions.at(0).Q, "один");

    platform.prompter.answers = {Prompter::Answer::Yes};
    Key(Qt::Key_Delete);
    EXPECT_EQ(Document().QuestionKeys("d1"), (Keys{"q3", "q4"}));
}

TEST_F(SeveralSelected, CopyingSeveralKeepsDocumentOrderAndPastesTheSameItems)
{
    Click("q4");
    Click("d7", Qt::ControlModifier);
    Click("q2", Qt::ControlModifier);
    Run(Command::Copy);
    const std::vector<ClipboardRecord> records = ParseClipboardRecords(ToModel(platform.clipboard.text));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].Questions.at(0).Q, "один");
    EXPECT_EQ(records[1].Questions.at(0).Q, "три");
    EXPECT_EQ(records[2].Name, "Третий");

    const std::string before = Saved();
    Click("q6");
    Run(Command::Paste);
    EXPECT_EQ(Steps(), 1);
    const Keys pasted = Parts(*window).Tree().SelectedKeys();
    ASSERT_EQ(pasted.size(), 3u);
    EXPECT_EQ(Document().QuestionKeys("d5"), (Keys{"q6", pasted[0], pasted[1]}));
    EXPECT_EQ(Document().QuestionAt(pasted[0]).Q(), "один");
    EXPECT_EQ(Document().QuestionAt(pasted[1]).Q(), "три");
    EXPECT_EQ(Document().Order().Divisions[2].Key, pasted[2]);
    EXPECT_EQ(Doc().Divisions.Item(pasted[2]).Name, "Третий");
    EXPECT_TRUE(Document().QuestionKeys(pasted[2]).empty());

    Parts(*window).History().Undo();
    EXPECT_EQ(Saved(), before);
    EXPECT_TRUE(TreeFollowsDocument());
}

TEST_F(SeveralSelected, MovingSeveralMovesTheBlockUntilItsEdge)
{
    const std::string before = Saved();
    Click("q2");
    P().TextQuest->setPlainText("один, правлен");
    Click("q3", Qt::ShiftModifier);
    QTest::keyClick(Parts(*window).Tree().Widget(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Document().QuestionKeys("d1"), (Keys{"q4", "q2", "q3"}));
    EXPECT_EQ(Parts(*window).Tree().SelectedKeys(), (Keys{"q2", "q3"}));
    EXPECT_EQ(Current(), "q3");
    EXPECT_EQ(Document().QuestionAt("q2").Q(), "один, правлен");
    const std::string moved = Saved();

    Run(Command::MoveDown); // the block stands at the bottom
    EXPECT_EQ(Saved(), moved);
    EXPECT_EQ(Steps(), 2); // the typing, and one move

    Parts(*window).History().Undo();
    EXPECT_EQ(Document().QuestionKeys("d1"), (Keys{"q2", "q3", "q4"}));
    EXPECT_TRUE(TreeFollowsDocument());
    Parts(*window).History().Undo();
    EXPECT_EQ(Saved(), before);
    Parts(*window).History().Redo();
    Parts(*window).History().Redo();
    EXPECT_EQ(Saved(), moved);
}

} // namespace
} // namespace mirvane::testing
