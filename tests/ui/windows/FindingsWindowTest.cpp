// The structure check from the editor: the findings window walked as a
// teacher mends the test one finding after another.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "windows/FindingsWindow.h"
#include "commands/StructureCheckCommand.h"
#include "commands/CommandActions.h"
#include "commands/StructuralEdits.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mirvane::testing {
namespace {

class FindingsWindowTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        // One mark only; d1 empty; q3 in d2 with a single answer.
        Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Пустой", ")* 1", "):Второй", ")?", "Вопрос", ")! 1", "да"});
    }
    FindingsWindow* Window() { return Parts(*window).Check().Window(); }
    QString Finding() { return Window()->Text->toPlainText(); }
    void Next() { QTest::mouseClick(Window()->CommandNext, Qt::LeftButton); }
};

TEST_F(FindingsWindowTest, EachMendShowsTheNextFindingAndSelectsItsNode)
{
    Parts(*window).Actions().Get(Command::StructureCheck)->trigger();
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Window()->windowTitle(), "Поиск ошибок в структуре теста");
    EXPECT_FALSE(Window()->isModal());
    EXPECT_EQ(Finding(), "В тесте менее двух вариантов оценки!!!");
    EXPECT_EQ(Current(), "mrk");
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), "mrk");
    EXPECT_TRUE(P().MarkText[1]->isVisible());

    // The user mends it in the main window while the findings stay open.
    P().MarkText[1]->setText("Сдан");
    P().MarkScoreText[0]->setText("5");
    Next();
    EXPECT_EQ(Finding(), "В тесте присутствует пустой раздел!!!");
    EXPECT_EQ(Current(), "d1");
    Next(); // nothing mended: the same finding again
    EXPECT_EQ(Finding(), "В тесте присутствует пустой раздел!!!");

    Parts(*window).Edits().CutItem();
    Next();
    EXPECT_EQ(Finding(), "Менее двух вариантов ответа на вопрос !!!");
    EXPECT_EQ(Current(), "q3");
    EXPECT_TRUE(Node("d2")->isExpanded());

    P().TextAnswer[1]->setPlainText("нет");
    P().TextQMark[1]->setText("0");
    Next();
    EXPECT_EQ(Finding(), "Проверка закончена. Ошибок в структуре теста не обнаружено");
    EXPECT_EQ(Current(), "q3"); // nothing found: the selection stays
    EXPECT_EQ(Doc().Divisions.Item("d2").Questions.Item("q3").AGet(1), "нет");
}

TEST_F(FindingsWindowTest, ASecondCheckBringsTheWindowForwardWithoutChecking)
{
    Parts(*window).Actions().Get(Command::StructureCheck)->trigger();
    FindingsWindow* first = Window();
    Click("par");
    P().TestName->setText("другое");
    Parts(*window).Actions().Get(Command::StructureCheck)->trigger();
    EXPECT_EQ(Window(), first);
    EXPECT_EQ(Current(), "par"); // not checked again
    EXPECT_EQ(Finding(), "В тесте менее двух вариантов оценки!!!");

    QTest::mouseClick(first->CommandCancel, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Window(), nullptr);
    Parts(*window).Actions().Get(Command::StructureCheck)->trigger(); // a new window checks as it loads
    EXPECT_EQ(Current(), "mrk");
}

} // namespace
} // namespace mirvane::testing
