#include "mainwindow/SpinButtons.h"

#include <QToolButton>

namespace mirvane {

namespace {
QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(60);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

SpinButtons::SpinButtons(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow))
{
    connect(up_, &QToolButton::clicked, this, &SpinButtons::UpClick);
    connect(down_, &QToolButton::clicked, this, &SpinButtons::DownClick);
}

void SpinButtons::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

} // namespace mirvane
