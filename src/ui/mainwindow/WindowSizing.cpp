#include "mainwindow/WindowSizing.h"

#include "mainwindow/EditPanels.h"
#include "mainwindow/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace mirvane {

WindowSizing::WindowSizing(const Parts& parts, std::function<void()> layOutForm)
    : QObject(parts.window), parts_(parts), layOutForm_(std::move(layOutForm))
{
    parts_.window->setMinimumSize(TwipsToPixels(kMinimumWindow), TwipsToPixels(kMinimumWindow));
    parts_.imgSplitter->setCursor(Qt::SizeHorCursor);
    parts_.imgSplitter->installEventFilter(this);
    parts_.picSplitter->setStyleSheet(QStringLiteral("background-color: #808080;"));
    parts_.picSplitter->hide();
    parts_.imgSplitter->setGeometry(TwipsToPixels(kInitialSplitter), 0, TwipsToPixels(150), 0);
}

int WindowSizing::WindowWidth() const { return PixelsToTwips(parts_.window->width()); }

void WindowSizing::FitToWindow()
{
    // The platform refuses resizing a minimized window; the layout still runs.
    if (!parts_.window->isMinimized()) {
        const int minimum = TwipsToPixels(kMinimumWindow);
        if (parts_.window->width() < minimum || parts_.window->height() < minimum)
            parts_.window->resize(std::max(parts_.window->width(), minimum),
                                  std::max(parts_.window->height(), minimum));
    }
    double x = PixelsToTwips(parts_.imgSplitter->x());
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
    const int clientHeight = PixelsToTwips(parts_.client->height());
    const int top = kTitlesHeight;
    const int height = std::max(0, clientHeight - kTitlesHeight);

    parts_.picTitles->setGeometry(0, 0, parts_.client->width(), TwipsToPixels(kTitlesHeight));
    parts_.title0->setGeometry(0, 0, TwipsToPixels(tree), TwipsToPixels(270));
    parts_.title1->setGeometry(TwipsToPixels(paneLeft + 20), 0, std::max(0, TwipsToPixels(paneWidth - 40)), TwipsToPixels(270));
    parts_.tree->setGeometry(0, TwipsToPixels(top), TwipsToPixels(tree), TwipsToPixels(height));
    parts_.imgSplitter->setGeometry(TwipsToPixels(tree), TwipsToPixels(top), TwipsToPixels(150), TwipsToPixels(height));
    int paneHeight = TwipsToPixels(height);
    if (bottomBar_ && bottomBar_->isVisible()) {
        const int barHeight = std::min(bottomBar_->sizeHint().height(), paneHeight);
        paneHeight -= barHeight;
        bottomBar_->setGeometry(TwipsToPixels(paneLeft), TwipsToPixels(top) + paneHeight, TwipsToPixels(paneWidth),
                                barHeight);
    }
    parts_.pane->setGeometry(TwipsToPixels(paneLeft), TwipsToPixels(top), TwipsToPixels(paneWidth), paneHeight);
    parts_.vScroll->setGeometry(std::max(0, parts_.pane->width() - TwipsToPixels(EditPanels::kVScrollWidth)), 0, TwipsToPixels(EditPanels::kVScrollWidth),
                                parts_.pane->height());
    parts_.vScroll->raise();
    layOutForm_();
}

int WindowSizing::SplitterLeft() const { return PixelsToTwips(parts_.imgSplitter->x()); }

void WindowSizing::SetSplitterLeft(int twips)
{
    double x = twips;
    SizeControls(x);
}

void WindowSizing::SplitterPressed()
{
    const QRect strip = parts_.imgSplitter->geometry();
    parts_.picSplitter->setGeometry(strip.x(), strip.y(), strip.width() / 2,
                                    std::max(0, strip.height() - TwipsToPixels(20)));
    parts_.picSplitter->raise();
    parts_.picSplitter->show();
    splitterMoving_ = true;
}

void WindowSizing::SplitterDragged(int x)
{
    if (!splitterMoving_)
        return;
    const int width = WindowWidth();
    int position = PixelsToTwips(parts_.imgSplitter->x()) + x;
    if (position < kDragMargin)
        position = kDragMargin;
    else if (position > width - kDragMargin)
        position = width - kDragMargin;
    parts_.picSplitter->move(TwipsToPixels(position), parts_.picSplitter->y());
}

void WindowSizing::SplitterReleased()
{
    if (!splitterMoving_)
        return;
    double x = PixelsToTwips(parts_.picSplitter->x());
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
                SplitterPressed();
            return true;
        case QEvent::MouseMove:
            SplitterDragged(PixelsToTwips(static_cast<QMouseEvent*>(event)->position().toPoint().x()));
            return true;
        case QEvent::MouseButtonRelease:
            SplitterReleased();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mirvane
