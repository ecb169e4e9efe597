#include "mainwindow/WindowSizing.h"

#include "mainwindow/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace mirvane {

namespace {
constexpr int kVScrollWidth = 255;
} // namespace

WindowSizing::WindowSizing(const Parts& parts, std::function<void()> layOutForm)
    : QObject(parts.window), parts_(parts), layOutForm_(std::move(layOutForm))
{
    parts_.window->setMinimumSize(Twips(kMinimumWindow), Twips(kMinimumWindow));
    parts_.imgSplitter->setCursor(Qt::SizeHorCursor);
    parts_.imgSplitter->installEventFilter(this);
    parts_.picSplitter->setStyleSheet(QStringLiteral("background-color: #808080;"));
    parts_.picSplitter->hide();
    parts_.imgSplitter->setGeometry(Twips(kInitialSplitter), 0, Twips(150), 0);
}

int WindowSizing::WindowWidth() const { return ToTwips(parts_.window->width()); }

void WindowSizing::Form_Resize()
{
    // The platform refuses resizing a minimized window; the layout still runs.
    if (!parts_.window->isMinimized()) {
        const int minimum = Twips(kMinimumWindow);
        if (parts_.window->width() < minimum || parts_.window->height() < minimum)
            parts_.window->resize(std::max(parts_.window->width(), minimum),
                                  std::max(parts_.window->height(), minimum));
    }
    double x = ToTwips(parts_.imgSplitter->x());
    SizeControls(x);
}

void WindowSizing::SizeControls(double& x)
{
    const int width = WindowWidth();
    if (x < kLayoutMargin)
        x = kLayoutMargin;
    if (x > width - kLayoutMargin)
        x = width - kLayoutMargin; // wins in a window narrower than 3000
    const int tree = static_cast<int>(x);
    const int paneLeft = tree + 40;
    const int paneWidth = std::max(0, width - (tree + 140));
    const int clientHeight = ToTwips(parts_.client->height());
    const int top = kTitlesHeight;
    const int height = std::max(0, clientHeight - kTitlesHeight);

    parts_.picTitles->setGeometry(0, 0, parts_.client->width(), Twips(kTitlesHeight));
    parts_.title0->setGeometry(0, 0, Twips(tree), Twips(270));
    parts_.title1->setGeometry(Twips(paneLeft + 20), 0, std::max(0, Twips(paneWidth - 40)), Twips(270));
    parts_.tree->setGeometry(0, Twips(top), Twips(tree), Twips(height));
    parts_.imgSplitter->setGeometry(Twips(tree), Twips(top), Twips(150), Twips(height));
    parts_.pane->setGeometry(Twips(paneLeft), Twips(top), Twips(paneWidth), Twips(height));
    parts_.vScroll->setGeometry(std::max(0, parts_.pane->width() - Twips(kVScrollWidth)), 0, Twips(kVScrollWidth),
                                parts_.pane->height());
    parts_.vScroll->raise();
    layOutForm_();
}

void WindowSizing::imgSplitter_MouseDown()
{
    const QRect strip = parts_.imgSplitter->geometry();
    parts_.picSplitter->setGeometry(strip.x(), strip.y(), strip.width() / 2,
                                    std::max(0, strip.height() - Twips(20)));
    parts_.picSplitter->raise();
    parts_.picSplitter->show();
    splitterMoving_ = true;
}

void WindowSizing::imgSplitter_MouseMove(int x)
{
    if (!splitterMoving_)
        return;
    const int width = WindowWidth();
    int position = ToTwips(parts_.imgSplitter->x()) + x;
    if (position < kDragMargin)
        position = kDragMargin;
    else if (position > width - kDragMargin)
        position = width - kDragMargin;
    parts_.picSplitter->move(Twips(position), parts_.picSplitter->y());
}

void WindowSizing::imgSplitter_MouseUp()
{
    if (!splitterMoving_)
        return;
    double x = ToTwips(parts_.picSplitter->x());
    SizeControls(x);
    parts_.picSplitter->hide();
    splitterMoving_ = false;
}

bool WindowSizing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parts_.imgSplitter) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                imgSplitter_MouseDown();
            return true;
        case QEvent::MouseMove:
            imgSplitter_MouseMove(ToTwips(static_cast<QMouseEvent*>(event)->position().toPoint().x()));
            return true;
        case QEvent::MouseButtonRelease:
            imgSplitter_MouseUp();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mirvane
