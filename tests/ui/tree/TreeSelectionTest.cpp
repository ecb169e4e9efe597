#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace mirvane::testing {
namespace {

class TreeSelection : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Open({"Физика", ")t 40", ")<", "Не сдан", ")> 5", "Сдан", ")* 2", "):  Механика ", ")?", "Первый вопрос",
              ")! 1", "да", ")! 0", "нет", ")?", "Второй", ")* 1", "):Оптика"});
        // d1, q2, q3, d4
    }
};

TEST_F(TreeSelection, NewTestShowsTwoNodesAndTheParameters)
{
    window->ShowDocument(std::make_unique<TestDocument>());
    QTreeView* tree = Parts(*window).Tree().Widget();
    ASSERT_EQ(tree->model()->rowCount(), 2);
    EXPECT_EQ(Node("par")->text(0), "Параметры теста");
    EXPECT_EQ(Node("mrk")->text(0), "Система оценок");
    EXPECT_EQ(tree->currentIndex(), Node("par").at);
    EXPECT_EQ(Current(), "par");
    EXPECT_TRUE(P().TestName->isVisible());
    EXPECT_FALSE(P().MarkText[0]->isVisible());
    EXPECT_EQ(window->windowTitle(), "Экзамен - Mirvane");
}

TEST_F(TreeSelection, TreeMirrorsTheTestCollapsed)
{
    QTreeView* tree = Parts(*window).Tree().Widget();
    ASSERT_EQ(tree->model()->rowCount(), 4);
    const TreeNode first{tree, tree->model()->index(2, 0)};
    EXPECT_EQ(first->text(0), "Механика");
    EXPECT_EQ(tree->model()->index(3, 0).data().toString(), "Оптика");
    EXPECT_FALSE(first->isExpanded());
    EXPECT_TRUE(tree->model()->hasChildren(first.at));
    first->setExpanded(true); // its question rows are made when it is opened
    ASSERT_EQ(first->childCount(), 2);
    EXPECT_EQ(first->child(0)->text(0), "Первый вопрос");
    EXPECT_EQ(window->windowTitle(), "Физика - Mirvane");
    EXPECT_FALSE(tree->editTriggers() & QAbstractItemView::DoubleClicked);
}

TEST_F(TreeSelection, ClickingAnotherNodeStoresTheOldPanelFirst)
{
    P().TestName->setText("Новое название");
    P().TestTime->setText("45");
    Click("mrk");
    EXPECT_EQ(Current(), "mrk");
    EXPECT_EQ(Doc().TestName, "Новое название");
    EXPECT_EQ(Doc().TestTime, 45);
    EXPECT_TRUE(P().MarkText[0]->isVisible());
    EXPECT_FALSE(P().TestName->isVisible());
    EXPECT_EQ(P().MarkText[1]->text(), "Сдан");
    EXPECT_EQ(P().MarkScoreText[0]->text(), "5");

    Click("q2");
    EXPECT_EQ(Current(), "q2");
    EXPECT_TRUE(P().TextQuest->isVisible());
    EXPECT_EQ(P().TextQuest->toPlainText(), "Первый вопрос");
    P().TextQuest->setPlainText("Изменённый\nвопрос");
    P().TextAnswer[2]->setPlainText("может быть");
    P().TextQMark[2]->setText("3");
    Click("d1");
    const Question& q = Doc().Divisions.Item("d1").Questions.Item("q2");
    EXPECT_EQ(q.Q(), "Изменённый\r\nвопрос");
    EXPECT_EQ(q.AGet(2), "может быть");
    EXPECT_EQ(q.AScoreGet(2), 3);
    EXPECT_EQ(Node("q2")->text(0), "Изменённый вопрос");
    EXPECT_EQ(P().TextDivName->text(), "Механика");
}

TEST_F(TreeSelection, ArrowKeysRunTheSelectionProcedure)
{
    Parts(*window).Tree().Widget()->setFocus();
    P().TestTime->setText("50");
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), "mrk");
    EXPECT_EQ(Doc().TestTime, 50);
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), "d1");
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), "d1");
    P().TextDivName->setText("  Динамика ");
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), "d4");
    EXPECT_EQ(Doc().Divisions.Item("d1").Name, "Динамика");
    EXPECT_EQ(Node("d1")->text(0), "Динамика");
    Key(Qt::Key_Up);
    EXPECT_EQ(Current(), "d1");
    EXPECT_EQ(P().TextDivName->text(), "Динамика");
}

TEST_F(TreeSelection, ClickingTheSelectedNodeAgainStoresAndReloads)
{
    P().TestTime->setText(" 45 ");
    Click("par");
    EXPECT_EQ(Current(), "par");
    EXPECT_EQ(Doc().TestTime, 45);
    EXPECT_EQ(P().TestTime->text(), "45");

    Click("mrk");
    P().MarkText[1]->setText("");
    P().MarkText[3]->setText("Отлично");
    P().MarkScoreText[2]->setText("9");
    Click("mrk");
    EXPECT_EQ(P().MarkText[1]->text(), "Отлично");
    EXPECT_EQ(P().MarkScoreText[0]->text(), "9");
    EXPECT_EQ(P().MarkText[3]->text(), "");
}

TEST_F(TreeSelection, ClickOnEmptySpaceKeepsTheSelection)
{
    Click("d4");
    QTreeView* tree = Parts(*window).Tree().Widget();
    P().TextNQ->setText("7");
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(5, tree->viewport()->height() - 3));
    EXPECT_EQ(Current(), "d4");
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), "d4");
    EXPECT_EQ(tree->selectionModel()->selectedIndexes().size(), 1);
    EXPECT_EQ(Doc().Divisions.Item("d4").NQ, 7);
}

} // namespace
} // namespace mirvane::testing
