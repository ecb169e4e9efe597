#pragma once
// An up/down arrow pair beside a number box. It is not attached to the box:
// each click (repeated while an arrow is held) is reported, and the window
// decides what the step does.
#include <QWidget>

class QToolButton;

namespace mirvane {

class SpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtons(QWidget* parent);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace mirvane
