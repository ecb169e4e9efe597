// The editor's findings list and summary: what a teacher sees while mending
// a test, without running a check by hand.
#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "windows/FindingsDock.h"
#include "windows/SummaryWindow.h"
#include "commands/CommandActions.h"
#include "editor/EditHistory.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTreeView>

namespace mirvane::testing {
namespace {

class FindingsDockTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        // One mark only; q3 repeats q2 in other case and spacing; q4 has one
        // answer; d5 asks nothing.
        Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Первый", ")?", "Столица Франции?", ")! 1", "Париж", ")!", "Лион",
              ")?", "столица  франции?", ")! 1", "Париж", ")!", "Ницца", ")?", "Одинокий", ")! 1", "да", ")* 0",
              "):Пустой ответ", ")?", "Вопрос", ")! 1", "а", ")!", "б"});
    }
    FindingsDock& Dock() { return Parts(*window).Findings(); }

    // Shows the list, as the toolbar button does, and waits for its check.
    void ShowList()
    {
        QSignalSpy refreshed(&Dock(), &FindingsDock::Refreshed);
        window->findChild<QAction*>("Findings")->trigger();
        ASSERT_TRUE(Dock().isVisible());
        ASSERT_TRUE(refreshed.wait(5000));
    }
    void WaitForCheck()
    {
        QSignalSpy refreshed(&Dock(), &FindingsDock::Refreshed);
        ASSERT_TRUE(refreshed.wait(5000));
    }
    QStringList Keys()
    {
        QStringList keys;
        for (const FindingsDock::Row& row : Dock().Rows())
            keys << row.Key + (row.Warning ? "?" : "");
        return keys;
    }
};

TEST_F(FindingsDockTest, ListsEveryFindingWithItsNodeAndWalksToEach)
{
    EXPECT_FALSE(Dock().isVisible()); // until asked for
    ShowList();
    EXPECT_EQ(Keys(), (QStringList{"mrk", "q3?", "q4", "d5?"}));
    const QAbstractItemModel* model = Dock().List()->model();
    EXPECT_EQ(model->index(0, 1).data().toString(), "В тесте менее двух вариантов оценки!!!");
    EXPECT_EQ(model->index(1, 0).data().toString(), "Раздел 1, вопрос 2");
    EXPECT_EQ(model->index(1, 1).data().toString(), "предупреждение: тот же вопрос, что вопрос 1 раздела 1");
    EXPECT_EQ(model->index(3, 0).data().toString(), "Раздел 2 «Пустой ответ»");

    QTreeView* list = Dock().List();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QRect at = list->visualRect(model->index(row, 1));
        // A double-click: the first click, then the second as a double.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at.center());
        const std::string key = Dock().Rows()[static_cast<std::size_t>(row)].Key.toStdString();
        EXPECT_EQ(Current(), key);
        EXPECT_EQ(Parts(*window).Tree().SelectedKey(), key);
    }
    EXPECT_TRUE(P().TextDivName->isVisible()); // the last row's panel
}

TEST_F(FindingsDockTest, FollowsWhatIsTypedBeforeTheNodeIsLeft)
{
    ShowList();
    Click("q2");
    Type(P().TextQuest, "?");
    WaitForCheck();
    // q3 no longer repeats q2, while the node is still shown.
    EXPECT_EQ(Keys(), (QStringList{"mrk", "q4", "d5?"}));
    EXPECT_EQ(Current(), "q2");

    Parts(*window).History().Undo();
    WaitForCheck();
    EXPECT_EQ(Keys(), (QStringList{"mrk", "q3?", "q4", "d5?"}));
}

TEST_F(FindingsDockTest, AWarningSwitchedOffInTheMenuStaysOff)
{
    ShowList();
    QMenu* menu = Dock().ListMenu();
    QAction* sameQuestions = menu->actions().at(0);
    EXPECT_EQ(sameQuestions->text(), "Одинаковые вопросы");
    EXPECT_TRUE(sameQuestions->isChecked());
    sameQuestions->trigger();
    WaitForCheck();
    EXPECT_EQ(Keys(), (QStringList{"mrk", "q4", "d5?"}));

    // The next editor starts with it off.
    window.reset();
    window = std::make_unique<MainWindow>(platform.Services());
    window->show();
    EXPECT_FALSE(Dock().Warnings().IsOn(WarningKind::SameQuestion));
    EXPECT_TRUE(Dock().Warnings().IsOn(WarningKind::SameAnswers));
    EXPECT_FALSE(Dock().ListMenu()->actions().at(0)->isChecked());
}

TEST_F(FindingsDockTest, SummaryShowsTheTestAsTyped)
{
    Click("d1");
    P().TextNQ->setText("2");
    Parts(*window).Actions().Get(Command::Summary)->trigger();
    SummaryWindow* summary = Parts(*window).Summary();
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->windowTitle(), "Сводка");
    EXPECT_FALSE(summary->isModal());
    const QString text = summary->Text->toPlainText();
    // d1 asks 2 of its 3 questions, each best 1 and worst 0; d5 asks none.
    EXPECT_TRUE(text.contains("  Первый: вопросов 3, задаётся 2\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Задаётся вопросов: 2\n"));
    EXPECT_TRUE(text.contains("Наибольшая сумма баллов: 2\nНаименьшая сумма баллов: 0\n"));
    EXPECT_TRUE(text.contains("Лучший ответ по местам: 1: 4\n"));
    // Opened again, the one window shows the test as it is then.
    Click("d5");
    P().TextNQ->setText("1");
    Parts(*window).Actions().Get(Command::Summary)->trigger();
    EXPECT_EQ(Parts(*window).Summary(), summary);
    EXPECT_TRUE(summary->Text->toPlainText().contains("Задаётся вопросов: 3\n"));
}

} // namespace
} // namespace mirvane::testing
