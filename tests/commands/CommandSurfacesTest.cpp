#include "EditorFixture.h"

#include "commands/MainToolbar.h"
#include "commands/TreeContextMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace mirvane::testing {
namespace {

using Answer = Prompter::Answer;

class Surfaces : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Раздел", ")?", "Вопрос", ")?", "Второй"});
    }
    QAction* Entry(const char* name) { return window->ContextMenu().Context()->findChild<QAction*>(name); }
    void RightClick(const std::string& key)
    {
        QTreeWidget* tree = window->Tree().Widget();
        QTreeWidgetItem* item = Node(key);
        if (item->parent())
            item->parent()->setExpanded(true);
        QApplication::processEvents();
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
        window->ContextMenu().Context()->hide();
    }
};

TEST_F(Surfaces, ToolbarButtonsInOrderWithTheirTooltips)
{
    QToolBar* bar = window->findChild<QToolBar*>("tbToolBar");
    QStringList keys;
    for (QAction* action : bar->actions())
        keys << (action->isSeparator() ? QStringLiteral("|") : action->objectName() + "=" + action->toolTip());
    EXPECT_EQ(keys, (QStringList{"New=Новый Файл", "Open=Открыть", "Save=Сохранить", "|",
                                 "Division=Добавить раздел", "Question=Добавить вопрос",
                                 "MoveDown=Передвинуть вниз", "MoveUp=Передвинуть вверх",
                                 "Delete=Удалить раздел/вопрос"}));
}

TEST_F(Surfaces, ToolbarRunsTheOperationsAndDeleteAsks)
{
    Click("q2");
    window->Toolbar().Action("MoveDown")->trigger();
    EXPECT_EQ(window->Tree().ChildKey("d1", 1), "q2");
    platform.prompter.answers = {Answer::Yes};
    window->Toolbar().Action("Delete")->trigger();
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Вы действительно хотите удалить вопрос?");
    EXPECT_FALSE(window->Tree().Contains("q2"));
    window->Toolbar().Action("Division")->trigger();
    EXPECT_EQ(Current()[0], 'd');
    window->Toolbar().Action("Question")->trigger();
    EXPECT_EQ(Current()[0], 'q');
}

TEST_F(Surfaces, ToolbarSwallowsFailuresOfItsOperations)
{
    QToolBar bar;
    bool after = false;
    MainToolbar toolbar(&bar, {{QStringLiteral("Boom"), QStringLiteral("t"), [] { throw std::runtime_error("x"); }},
                               {QStringLiteral("Next"), QStringLiteral("t"), [&after] { after = true; }}});
    EXPECT_NO_THROW(toolbar.tbToolBar_ButtonClick("Boom"));
    EXPECT_NO_THROW(toolbar.tbToolBar_ButtonClick("Unknown"));
    toolbar.tbToolBar_ButtonClick("Next");
    EXPECT_TRUE(after);
}

TEST_F(Surfaces, ContextMenuEnablesByNodeKind)
{
    Click("mrk");
    RightClick("mrk");
    EXPECT_TRUE(Entry("ContextAddDiv")->isEnabled());
    for (const char* name : {"ContextAddQest", "ContextDelete", "ContextUp", "ContextDown"})
        EXPECT_FALSE(Entry(name)->isEnabled()) << name;
    Click("d1");
    RightClick("d1");
    for (const char* name : {"ContextAddDiv", "ContextAddQest", "ContextDelete", "ContextUp", "ContextDown"})
        EXPECT_TRUE(Entry(name)->isEnabled()) << name;
    EXPECT_EQ(window->ContextMenu().Context()->title(), "Контекстное меню");
}

TEST_F(Surfaces, RightButtonActsOnTheNodeSelectedBefore)
{
    Click("mrk");
    RightClick("q2");
    EXPECT_EQ(Current(), "mrk");
    EXPECT_EQ(window->Tree().SelectedKey(), "mrk");
    EXPECT_FALSE(Entry("ContextDelete")->isEnabled());
}

TEST_F(Surfaces, ContextEntriesRunTheEdits)
{
    Click("d1");
    RightClick("d1");
    Entry("ContextAddQest")->trigger();
    EXPECT_EQ(window->Tree().ChildCount("d1"), 3);
    platform.prompter.answers = {Answer::No};
    Entry("ContextDelete")->trigger();
    EXPECT_EQ(platform.prompter.shown.back().Text, "Вы действительно хотите удалить вопрос?");
    EXPECT_EQ(window->Tree().ChildCount("d1"), 3);
}

TEST_F(Surfaces, FileMenuEntriesAndShortcuts)
{
    QMenu* file = window->menuBar()->findChild<QMenu*>("mnuFile");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), "&Файл");
    QStringList entries;
    for (QAction* action : file->actions()) {
        if (!action->isSeparator())
            entries << action->text() + "|" + action->shortcut().toString();
    }
    EXPECT_EQ(entries, (QStringList{"&Новый|Ctrl+N", "&Открыть...|Ctrl+O", "&Сохранить...|Ctrl+S",
                                    "Сохр&анить как...|", "&Выход|"}));
}

} // namespace
} // namespace mirvane::testing
