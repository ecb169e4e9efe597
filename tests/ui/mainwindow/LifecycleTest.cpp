#include "EditorFixture.h"
#include "ui/WindowParts.h"
#include "FakePlatform.h"

#include "tree/StructureTree.h"
#include "mainwindow/Twips.h"
#include "mainwindow/WindowSizing.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QLineEdit>
#include <QTreeView>

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

using Answer = Prompter::Answer;

TEST(Lifecycle, FirstRunUsesTheDefaultGeometry)
{
    FakePlatform platform;
    MainWindow window(platform.Services());
    EXPECT_EQ(window.pos(), QPoint(TwipsToPixels(1000), TwipsToPixels(1000)));
    EXPECT_EQ(window.size(), QSize(TwipsToPixels(6500), TwipsToPixels(6500)));
    EXPECT_TRUE(Parts(window).State().DocumentFile.isEmpty());
    EXPECT_EQ(Parts(window).State().CurrentKey, "par");
    EXPECT_EQ(window.windowTitle(), "Экзамен - Mirvane");
    auto* status = window.statusBar()->findChild<QLabel*>("StatusPanel");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), "Status");
    EXPECT_FALSE(window.statusBar()->findChild<QLabel*>("TimePanel")->text().isEmpty());
}

// The stored size is the window's outer size, with its frame, and a window
// comes back exactly where and as large as it was; the splitter too.
TEST(Lifecycle, GeometryRoundTripsThroughTheSettings)
{
    FakePlatform platform;
    platform.settings.values = {{"Settings/MainLeft", "1500"},
                                {"Settings/MainTop", "750"},
                                {"Settings/MainWidth", "9000"},
                                {"Settings/MainHeight", "abc"}}; // not a number: the default
    QRect closedAt;
    {
        MainWindow window(platform.Services());
        EXPECT_EQ(window.pos(), QPoint(TwipsToPixels(1500), TwipsToPixels(750)));
        window.show();
        QApplication::processEvents();
        EXPECT_EQ(window.frameGeometry().size(), QSize(TwipsToPixels(9000), TwipsToPixels(6500)));
        window.resize(TwipsToPixels(10500), TwipsToPixels(7500));
        window.move(TwipsToPixels(300), TwipsToPixels(450));
        Parts(window).Sizing().SetSplitterLeft(3000);
        QApplication::processEvents();
        closedAt = window.frameGeometry();
        platform.prompter.answers = {Answer::No};
        EXPECT_TRUE(window.close());
    }
    EXPECT_EQ(platform.settings.values.value("Settings/MainWidth"), QString::number(PixelsToTwips(closedAt.width())));
    EXPECT_EQ(platform.settings.values.value("Settings/MainHeight"), QString::number(PixelsToTwips(closedAt.height())));
    EXPECT_EQ(platform.settings.values.value("Settings/MainLeft"), "300");
    EXPECT_EQ(platform.settings.values.value("Settings/MainTop"), "450");
    EXPECT_EQ(platform.settings.values.value("Settings/SplitterLeft"), "3000");
    MainWindow again(platform.Services());
    again.show();
    QApplication::processEvents();
    EXPECT_EQ(again.frameGeometry(), closedAt);
    EXPECT_EQ(Parts(again).Sizing().SplitterLeft(), 3000);
}

TEST(Lifecycle, ClosingAsksEveryTimeAndCancelKeepsTheWindow)
{
    FakePlatform platform;
    MainWindow window(platform.Services());
    window.show();
    Parts(window).Tree().Select("mrk");
    window.ShowSelectedNode();
    platform.prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Parts(window).State().CurrentKey, "mrk");
    ASSERT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_EQ(platform.prompter.shown[0].Text, "Сохранить открытый файл\r\nНовый.q ?");
    EXPECT_EQ(platform.prompter.shown[0].Caption, "Внимание!!!");
    EXPECT_TRUE(platform.settings.values.isEmpty());

    // Yes with a cancelled Save As keeps the window and the work.
    platform.prompter.answers = {Answer::Yes};
    EXPECT_FALSE(window.close());
    EXPECT_EQ(platform.fileDialogs.shown.size(), 1u);
    EXPECT_TRUE(platform.settings.values.isEmpty());
}

TEST(Lifecycle, MinimizedCloseStoresNothing)
{
    FakePlatform platform;
    platform.settings.values = {{"Settings/MainWidth", "8000"}};
    MainWindow window(platform.Services());
    window.show();
    window.setWindowState(Qt::WindowMinimized);
    platform.prompter.answers = {Answer::No};
    EXPECT_TRUE(window.close());
    EXPECT_EQ(platform.settings.values.size(), 1);
    EXPECT_EQ(platform.settings.values.value("Settings/MainWidth"), "8000");
}

TEST(Lifecycle, ClosingClosesTheOtherWindows)
{
    FakePlatform platform;
    MainWindow window(platform.Services());
    window.show();
    QWidget other;
    other.show();
    platform.prompter.answers = {Answer::No};
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(other.isVisible());
}

// Alt+F4 that reaches the editor itself (no window manager took it, or it was
// sent to the window directly) closes the window as the frame's button does,
// whichever box or the tree has the focus. F4 alone closes nothing.
class AltF4Test : public EditorFixture {};

TEST_F(AltF4Test, ClosesWithTheSaveQuestionWhateverHasTheFocus)
{
    Open({"T", ")t 30", ")<", "Неуд", ")* 1", "):Раздел", ")?", "Вопрос", ")! 1", "да"});
    struct Place {
        std::string node;
        std::function<QWidget*()> box;
    };
    const std::vector<Place> places = {{"par", [this]() -> QWidget* { return P().TestName; }},
                                       {"d1", [this]() -> QWidget* { return P().TextDivName; }},
                                       {"q2", [this]() -> QWidget* { return P().TextQMark[0]; }},
                                       {"q2", [this]() -> QWidget* { return Parts(*window).Tree().Widget(); }}};
    for (const Place& place : places) {
        Click(place.node);
        QWidget* focus = place.box();
        focus->setFocus();
        platform.prompter.Clear();
        platform.prompter.answers = {Answer::Cancel};
        QTest::keyClick(focus, Qt::Key_F4, Qt::AltModifier);
        ASSERT_EQ(platform.prompter.shown.size(), 1u) << focus->objectName().toStdString();
        EXPECT_EQ(platform.prompter.shown[0].Caption, "Внимание!!!");
        EXPECT_TRUE(window->isVisible()); // cancelled
    }
    platform.prompter.Clear();
    QTest::keyClick(P().TextQMark[0], Qt::Key_F4);
    EXPECT_TRUE(platform.prompter.shown.empty()); // F4 alone is no close
    platform.prompter.answers = {Answer::No};
    QTest::keyClick(Parts(*window).Tree().Widget(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(platform.prompter.shown.size(), 1u);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace mirvane::testing
