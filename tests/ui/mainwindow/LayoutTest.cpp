#include "EditorFixture.h"
#include "ui/WindowParts.h"

#include "mainwindow/SpinButtons.h"
#include "mainwindow/WindowSizing.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace mirvane::testing {
namespace {

QRect TwipRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

class Layout : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Open({"T", ")t 30", ")<", "Неуд", ")> 5", "Сдан", ")*", "):D", ")?", "Q"});
    }
    QWidget* Pane() { return P().Pane(); }
    QScrollBar* Bar() { return P().VScroll(); }
    // Usable width and height of Pane in twips, as the layout reads them.
    int W() { return PixelsToTwips(Pane()->width()) - 255; }
    int H() { return PixelsToTwips(Pane()->height()); }
    void SizeWindow(int widthTwips, int heightTwips)
    {
        window->resize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
        QApplication::processEvents();
    }
};

TEST_F(Layout, ParametersPanelAtTwoWidths)
{
    for (int width : {9000, 14000}) {
        SizeWindow(width, 9000);
        const int w = W();
        EXPECT_EQ(P().LTestName->geometry(), TwipRect(120, 120, w - 240, 255));
        EXPECT_EQ(P().TestName->geometry(), TwipRect(120, 360, w - 240, 285));
        EXPECT_EQ(P().TestTime->geometry(), TwipRect(120, 720, 495, 285));
        EXPECT_EQ(P().UpDownTestTime->geometry(), TwipRect(615, 720, 180, 285));
        EXPECT_EQ(P().LTestTime->geometry(), TwipRect(960, 720, w - 240, 285));
        EXPECT_EQ(P().CheckMissWork->geometry(), TwipRect(120, 1200, w - 240, 255));
        EXPECT_EQ(P().Frame->geometry(), TwipRect(120, 1680, w - 240, 1695));
        EXPECT_EQ(P().OptionLogType[1]->geometry(), TwipRect(120, 480, w - 480, 255));
        EXPECT_EQ(P().TextLogFile->geometry(), TwipRect(120, 1320, w - 480, 285));
        EXPECT_FALSE(P().HLine->isVisible());
        EXPECT_FALSE(P().VLine->isVisible());
        EXPECT_FALSE(Bar()->isEnabled());
    }
}

TEST_F(Layout, MarksPanelScrolledAndRuleStartsAtTheTop)
{
    Click("mrk");
    // The marks fit a pane of the smallest window; a lower pane shows the bar.
    for (int paneWidth : {8000, 11000}) {
        P().Pane()->resize(TwipsToPixels(paneWidth), TwipsToPixels(3000));
        P().LayOutForm("mrk");
        ASSERT_GT(4620, H());
        EXPECT_TRUE(Bar()->isEnabled());
        EXPECT_EQ(Bar()->maximum(), 4620);
        EXPECT_EQ(Bar()->singleStep(), 462);
        EXPECT_EQ(Bar()->pageStep(), H());
        Bar()->setValue(600);
        const int s = 600;
        const int w = W();
        EXPECT_EQ(P().LabelBalls->geometry(), TwipRect(240, 120 - s, 735, 255));
        EXPECT_EQ(P().MarkText[0]->geometry(), TwipRect(1200, 570 - s, w - 1320, 285));
        EXPECT_EQ(P().MarkText[9]->geometry(), TwipRect(1200, 570 + 405 * 9 - s, w - 1320, 285));
        EXPECT_EQ(P().MarkScoreText[8]->geometry(), TwipRect(120, 950 + 405 * 8 - s, 495, 285));
        EXPECT_EQ(P().UpDownBalls[0]->geometry(), TwipRect(615, 950 - s, 180, 285));
        EXPECT_EQ(P().LabelMinScore->geometry(), TwipRect(120, 570 - s, 800, 285));
        EXPECT_EQ(P().VLine->geometry(), QRect(TwipsToPixels(1000), 0, 1, TwipsToPixels(4620 - s)));
        EXPECT_EQ(P().HLine->geometry(), QRect(0, TwipsToPixels(450 - s), TwipsToPixels(w), 1));
        EXPECT_TRUE(P().HLine->isVisible());
        EXPECT_TRUE(P().VLine->isVisible());
    }
}

TEST_F(Layout, DivisionPanel)
{
    Click("d1");
    for (int width : {9000, 12000}) {
        SizeWindow(width, 9000);
        const int w = W();
        EXPECT_EQ(P().LabelDivName->geometry(), TwipRect(120, 120, 3735, 255));
        EXPECT_EQ(P().TextDivName->geometry(), TwipRect(120, 360, w - 240, 285));
        EXPECT_EQ(P().TextNQ->geometry(), TwipRect(120, 840, 495, 285));
        EXPECT_EQ(P().UpDownNQ->geometry(), TwipRect(600, 840, 180, 285));
        EXPECT_EQ(P().LabelNQ->geometry(), TwipRect(1080, 840, 3255, 285));
        EXPECT_EQ(P().LabelFNQ->geometry(), TwipRect(120, 1400, 4215, 255));
        EXPECT_TRUE(P().HLine->isVisible());
        EXPECT_FALSE(P().VLine->isVisible());
    }
}

TEST_F(Layout, QuestionPanelScrollsToTheContentHeight)
{
    Click("q2");
    for (int width : {10000, 13000}) {
        SizeWindow(width, 7000);
        EXPECT_TRUE(Bar()->isEnabled());
        for (int s : {0, 1000, 11100}) {
            Bar()->setValue(s);
            const int w = W();
            EXPECT_EQ(P().LabelQuest->geometry(), TwipRect(120, 120 - s, 4455, 255)) << s;
            EXPECT_EQ(P().TextQuest->geometry(), TwipRect(120, 360 - s, w - 240, 735)) << s;
            EXPECT_EQ(P().LabelQBalls->geometry(), TwipRect(120, 1320 - s, 615, 255)) << s;
            EXPECT_EQ(P().LabelAnswer[8]->geometry(), TwipRect(960, 1320 + 8800 - s, 4095, 255)) << s;
            EXPECT_EQ(P().TextQMark[8]->geometry(), TwipRect(120, 10370 - s, 375, 285)) << s;
            EXPECT_EQ(P().UpDownQMark[8]->geometry(), TwipRect(480, 10370 - s, 180, 285)) << s;
            EXPECT_EQ(P().TextAnswer[8]->geometry(), TwipRect(960, 10370 - s, w - 1080, 735)) << s;
            EXPECT_EQ(P().VLine->geometry(), QRect(TwipsToPixels(800), TwipsToPixels(1320 - s), 1, TwipsToPixels(9780))) << s;
        }
    }
}

// At the size of a first run every caption of every panel is read whole:
// none runs past its own box or under the scroll bar.
TEST_F(Layout, NothingIsClippedAtTheFirstRunSize)
{
    SizeWindow(6500, 6500);
    const int usable = Pane()->width() - Bar()->width();
    for (const char* node : {"par", "mrk", "d1", "q2"}) {
        Click(node);
        for (QWidget* w : Pane()->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(Pane()))
                continue;
            const QRect box(w->mapTo(Pane(), QPoint(0, 0)), w->size());
            const int shown = std::min(box.right() + 1, usable) - box.left();
            const std::string name = std::string(node) + " " + w->objectName().toStdString();
            auto* label = qobject_cast<QLabel*>(w);
            if (label && label->wordWrap()) {
                EXPECT_LE(label->width(), shown) << name;
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
            } else if (label) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text().remove('&')), shown) << name;
            } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
                EXPECT_LE(w->sizeHint().width(), shown) << name;
            }
        }
    }
}

TEST_F(Layout, TallPaneDisablesTheBarAndIgnoresItsValue)
{
    Click("q2");
    SizeWindow(10000, 7000);
    Bar()->setValue(2000);
    Click("d1"); // the division panel fits: the old value stays but is not used
    SizeWindow(10000, 7000);
    EXPECT_FALSE(Bar()->isEnabled());
    EXPECT_EQ(Bar()->value(), 2000);
    EXPECT_EQ(P().LabelDivName->geometry().y(), TwipsToPixels(120));
    Click("q2"); // back on the tall panel, at the old position
    EXPECT_EQ(P().LabelQuest->geometry().y(), TwipsToPixels(120 - 2000));
}

TEST_F(Layout, UnknownKeyLeavesEveryControlAlone)
{
    const QRect before = P().TestName->geometry();
    const bool visible = P().TestName->isVisible();
    P().LayOutForm("x1");
    P().LayOutForm("");
    EXPECT_EQ(P().TestName->geometry(), before);
    EXPECT_EQ(P().TestName->isVisible(), visible);
}

TEST_F(Layout, PanelFollowsTheThumbWhileDragged)
{
    Click("q2");
    SizeWindow(10000, 7000);
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(1500); // tracking: value changes while held
    EXPECT_EQ(P().LabelQuest->geometry().y(), TwipsToPixels(120 - 1500));
    Bar()->setSliderDown(false);
}

class Sizing : public Layout {
protected:
    QWidget* Child(const char* name) { return window->findChild<QWidget*>(QLatin1String(name)); }
    void Mouse(QWidget* w, QEvent::Type type, int xTwips)
    {
        const QPointF local(TwipsToPixels(xTwips), 5);
        QMouseEvent event(type, local, w->mapToGlobal(local), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }
};

TEST_F(Sizing, WindowNeverGetsSmallerThan6000Twips)
{
    window->resize(TwipsToPixels(3000), TwipsToPixels(2000));
    QApplication::processEvents();
    EXPECT_EQ(window->width(), TwipsToPixels(6000));
    EXPECT_EQ(window->height(), TwipsToPixels(6000));
    window->resize(TwipsToPixels(8000), TwipsToPixels(3000));
    QApplication::processEvents();
    EXPECT_EQ(window->width(), TwipsToPixels(8000));
    EXPECT_EQ(window->height(), TwipsToPixels(6000));
}

TEST_F(Sizing, WideningGivesAllExtraWidthToThePane)
{
    SizeWindow(9000, 8000);
    QWidget* tree = Parts(*window).Tree().Widget();
    const int treeWidth = tree->width();
    EXPECT_EQ(treeWidth, TwipsToPixels(1965));
    const int paneWidth = Pane()->width();
    SizeWindow(12000, 8000);
    EXPECT_EQ(tree->width(), treeWidth);
    EXPECT_EQ(Pane()->width(), paneWidth + TwipsToPixels(12000) - TwipsToPixels(9000));
    EXPECT_EQ(Pane()->x(), TwipsToPixels(1965 + 40));
    EXPECT_EQ(Bar()->geometry(), QRect(Pane()->width() - TwipsToPixels(255), 0, TwipsToPixels(255), Pane()->height()));
}

TEST_F(Sizing, SplitterDraggedTowardsTheLeftEdge)
{
    SizeWindow(9000, 8000);
    QWidget* strip = Child("imgSplitter");
    QWidget* bar = Child("picSplitter");
    Mouse(strip, QEvent::MouseButtonPress, 10);
    EXPECT_TRUE(Parts(*window).Sizing().SplitterMoving());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->width(), strip->width() / 2);
    Mouse(strip, QEvent::MouseMove, 600 - 1965);
    EXPECT_EQ(bar->x(), TwipsToPixels(600));
    Mouse(strip, QEvent::MouseMove, 100 - 1965);
    EXPECT_EQ(bar->x(), TwipsToPixels(500));
    Mouse(strip, QEvent::MouseMove, 600 - 1965);
    EXPECT_EQ(Parts(*window).Tree().Widget()->width(), TwipsToPixels(1965)); // nothing else moves during the drag
    Mouse(strip, QEvent::MouseButtonRelease, 600 - 1965);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(Parts(*window).Sizing().SplitterMoving());
    EXPECT_EQ(Parts(*window).Tree().Widget()->width(), TwipsToPixels(1500));
    EXPECT_EQ(strip->x(), TwipsToPixels(1500));
    EXPECT_EQ(Pane()->x(), TwipsToPixels(1540));
}

TEST_F(Sizing, SplitterDraggedPastTheRightEdge)
{
    SizeWindow(9000, 8000);
    const int width = PixelsToTwips(window->width());
    QWidget* strip = Child("imgSplitter");
    QWidget* bar = Child("picSplitter");
    Mouse(strip, QEvent::MouseButtonPress, 10);
    Mouse(strip, QEvent::MouseMove, 20000);
    EXPECT_EQ(bar->x(), TwipsToPixels(width - 500));
    Mouse(strip, QEvent::MouseButtonRelease, 20000);
    EXPECT_EQ(Parts(*window).Tree().Widget()->width(), TwipsToPixels(width - 1500));
    // The narrowest pane still lays out, with stretched widths of zero at worst.
    Click("mrk");
    EXPECT_GE(P().MarkText[0]->width(), 0);
}

TEST_F(Sizing, MovesWithoutAPressDoNothing)
{
    QWidget* strip = Child("imgSplitter");
    const int before = Child("picSplitter")->x();
    Mouse(strip, QEvent::MouseMove, 300);
    EXPECT_EQ(Child("picSplitter")->x(), before);
    EXPECT_FALSE(Child("picSplitter")->isVisible());
}

} // namespace
} // namespace mirvane::testing
