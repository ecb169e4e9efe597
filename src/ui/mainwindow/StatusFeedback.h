#pragma once
// The status bar's line of feedback after a command: it takes the place of
// the fixed "Status" panel for a few seconds, then the panel comes back as it
// was. A line with details ends in a link that shows them.
#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class QTimer;

namespace mirvane {

class Prompter;

class StatusFeedback : public QObject {
    Q_OBJECT
public:
    static constexpr int kShownMilliseconds = 8000;

    // `fixedPanel` is the panel the line stands in for while it is shown.
    StatusFeedback(QStatusBar* bar, QLabel* fixedPanel, Prompter& prompter);

    void Show(const QString& text, const QString& details = {});
    // The line goes and the fixed panel is back.
    void Expire();

    QLabel* Line() const { return line_; }

private:
    QLabel* line_;
    QLabel* fixedPanel_;
    QTimer* timer_;
    Prompter& prompter_;
    QString details_;
};

} // namespace mirvane
