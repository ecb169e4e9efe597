#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "windows/FindingsWindow.h"
#include "commands/StructureCheckCommand.h"
#include "commands/CommandActions.h"
#include "commands/TreeContextMenu.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QToolBar>

#include <map>
#include <set>

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
    QAction* Action(Command command) { return Parts(*window).Actions().Get(command); }
    // A right click over the node; what the open menu offered is kept in
    // `enabled`, by caption, before the menu is closed again.
    void RightClick(const std::string& key)
    {
        enabled.clear();
        QTreeView* tree = Parts(*window).Tree().Widget();
        const QModelIndex item = Parts(*window).Tree().Index(key);
        if (item.parent().isValid())
            tree->expand(item.parent());
        QApplication::processEvents();
        const QPoint at = tree->visualRect(item).center();
        QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
        QMenu* menu = Parts(*window).ContextMenu().Context();
        EXPECT_TRUE(menu->isVisible());
        for (QAction* entry : menu->actions()) {
            if (!entry->isSeparator())
                enabled[entry->text()] = entry->isEnabled();
        }
        menu->hide();
    }
    std::map<QString, bool> enabled;
};

TEST_F(Surfaces, ToolbarButtonsInOrderWithTheirTooltips)
{
    QToolBar* bar = window->findChild<QToolBar*>("tbToolBar");
    QStringList keys;
    for (QAction* action : bar->actions())
        keys << (action->isSeparator() ? QStringLiteral("|") : action->objectName() + "=" + action->toolTip());
    EXPECT_EQ(keys, (QStringList{"New=Новый Файл", "Open=Открыть", "Save=Сохранить", "|", "Cut=Вырезать",
                                 "Copy=Копировать", "Paste=Вставить", "|", "Division=Добавить раздел", "Question=Добавить вопрос",
                                 "MoveDown=Передвинуть вниз", "MoveUp=Передвинуть вверх",
                                 "Delete=Удалить раздел/вопрос", "|",
                                 "Spell=Проверка целостности структуры теста", "Findings=Замечания",
                                 "Preview=Предварительный просмотр вопроса", "|", "Help=Help"}));
}

TEST_F(Surfaces, ToolbarRunsTheOperationsAndDeleteAsks)
{
    Click("q2");
    Action(Command::MoveDown)->trigger();
    EXPECT_EQ(Parts(*window).Tree().ChildKey("d1", 1), "q2");
    platform.prompter.answers = {Answer::Yes};
    Action(Command::Delete)->trigger();
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Вы действительно хотите удалить вопрос?");
    EXPECT_FALSE(Parts(*window).Tree().Contains("q2"));
    Action(Command::AddDivision)->trigger();
    EXPECT_EQ(Current()[0], 'd');
    Action(Command::AddQuestion)->trigger();
    EXPECT_EQ(Current()[0], 'q');
}

TEST_F(Surfaces, AFailingCommandIsReportedByNameAndTheProgramGoesOn)
{
    Click("q2");
    Parts(*window).State().CurrentKey = "q99"; // a key the document does not hold
    platform.prompter.answers = {Answer::Yes};
    EXPECT_NO_THROW(Action(Command::Delete)->trigger());
    ASSERT_EQ(platform.prompter.shown.size(), 2u);
    EXPECT_TRUE(platform.prompter.shown[1].Text.startsWith("Не удалось выполнить «Удалить раздел/вопрос»"))
        << platform.prompter.shown[1].Text.toStdString();
    EXPECT_EQ(platform.prompter.shown[1].Caption, "Mirvane");
    Click("d1");
    Action(Command::AddQuestion)->trigger();
    EXPECT_EQ(Parts(*window).Tree().ChildCount("d1"), 3);
}

TEST_F(Surfaces, ContextMenuEnablesByNodeKind)
{
    Click("mrk");
    RightClick("mrk");
    EXPECT_EQ(enabled, (std::map<QString, bool>{{"Добавить раздел", true}, {"Добавить вопрос", false},
                                                {"Вырезать", false}, {"Копировать", false}, {"Вставить", false},
                                                {"Удалить", false}, {"Вверх", false}, {"Вниз", false}}));
    // The toolbar buttons show the same actions and are enabled again.
    EXPECT_TRUE(Action(Command::Delete)->isEnabled());
    Click("d1");
    RightClick("d1");
    for (const auto& [caption, on] : enabled)
        EXPECT_TRUE(on) << caption.toStdString();
    EXPECT_EQ(Parts(*window).ContextMenu().Context()->title(), "Контекстное меню");
}

TEST_F(Surfaces, RightButtonActsOnTheNodeSelectedBefore)
{
    Click("mrk");
    RightClick("q2");
    EXPECT_EQ(Current(), "mrk");
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), "mrk");
    EXPECT_FALSE(enabled["Удалить"]);
}

TEST_F(Surfaces, ContextEntriesRunTheEdits)
{
    Click("d1");
    RightClick("d1");
    Action(Command::AddQuestion)->trigger();
    EXPECT_EQ(Parts(*window).Tree().ChildCount("d1"), 3);
    platform.prompter.answers = {Answer::No};
    Action(Command::Delete)->trigger();
    EXPECT_EQ(platform.prompter.shown.back().Text, "Вы действительно хотите удалить вопрос?");
    EXPECT_EQ(Parts(*window).Tree().ChildCount("d1"), 3);
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
                                    "Сохр&анить как...|", "&Импорт...|", "&Экспорт|", "&Печать...|Ctrl+P",
                                    "&Выход|"}));
    QMenu* exports = file->findChild<QMenu*>("mnuExport");
    ASSERT_NE(exports, nullptr);
    QStringList exportEntries;
    for (QAction* action : exports->actions())
        exportEntries << action->text();
    EXPECT_EQ(exportEntries,
              (QStringList{"Текстовый файл", "Тулимар 2.5 (Windows версия)", "", "Moodle XML", "GIFT", "Aiken",
                           "Текст с разметкой", "Лист для печати (PDF)"}));
}

TEST_F(Surfaces, EveryToolbarCommandIsInAMenuAndNoTwoCommandsShareAKey)
{
    std::set<QAction*> inMenus;
    for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        const QList<QAction*> entries = menu->actions();
        inMenus.insert(entries.begin(), entries.end());
    }
    for (QAction* action : window->findChild<QToolBar*>("tbToolBar")->actions())
        EXPECT_TRUE(action->isSeparator() || inMenus.count(action)) << action->objectName().toStdString();
    std::map<QKeySequence, QString> owner;
    for (QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts())
            EXPECT_TRUE(owner.emplace(key, action->text()).second) << key.toString().toStdString();
    }
}

// Keys sent to whatever has the focus, as the keyboard does.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

TEST_F(Surfaces, StructureKeysAddWithTheCaretInTheNewItem)
{
    Click("d1");
    Press(Qt::Key_Insert);
    const std::string first = Current();
    EXPECT_EQ(Parts(*window).Tree().SelectedKey(), first);
    QTest::keyClicks(QApplication::focusWidget(), "2+2?");
    Press(Qt::Key_Return, Qt::ControlModifier); // straight on to the next question
    EXPECT_EQ(Document().QuestionAt(first).Q(), "2+2?");
    EXPECT_EQ(Parts(*window).Tree().ChildCount("d1"), 4);
    EXPECT_EQ(QApplication::focusWidget(), P().TextQuest);

    Press(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClicks(QApplication::focusWidget(), "Algebra");
    EXPECT_EQ(Current()[0], 'd');
    EXPECT_EQ(P().TextDivName->text(), "Algebra") << "typing replaces the new division's name";

    QSignalSpy preview(Action(Command::Preview), &QAction::triggered);
    Press(Qt::Key_F5);
    EXPECT_EQ(preview.count(), 1);
    Press(Qt::Key_F9);
    ASSERT_NE(Parts(*window).Check().Window(), nullptr);
    EXPECT_TRUE(Parts(*window).Check().Window()->isVisible());
}

TEST_F(Surfaces, DeleteAndMovingKeysActInTheTreeOnly)
{
    Click("q3");
    P().TextQuest->setFocus();
    P().TextQuest->moveCursor(QTextCursor::Start);
    Press(Qt::Key_Delete);
    Press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(P().TextQuest->toPlainText(), "торой") << "in a box the keys are the box's";
    EXPECT_EQ(Parts(*window).Tree().ChildKey("d1", 1), "q3");

    Parts(*window).Tree().Widget()->setFocus();
    Press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Parts(*window).Tree().ChildKey("d1", 0), "q3");
    platform.prompter.answers = {Answer::Yes};
    Press(Qt::Key_Delete);
    EXPECT_EQ(platform.prompter.Texts(), QStringList{"Вы действительно хотите удалить вопрос?"});
    EXPECT_FALSE(Parts(*window).Tree().Contains("q3"));
}

} // namespace
} // namespace mirvane::testing
