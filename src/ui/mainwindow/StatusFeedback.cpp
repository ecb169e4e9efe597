#include "mainwindow/StatusFeedback.h"

#include "platform/ProgramName.h"
#include "platform/Prompter.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace mirvane {

StatusFeedback::StatusFeedback(QStatusBar* bar, QLabel* fixedPanel, Prompter& prompter)
    : QObject(bar), line_(new QLabel(bar)), fixedPanel_(fixedPanel), timer_(new QTimer(this)), prompter_(prompter)
{
    line_->setObjectName(QStringLiteral("FeedbackLine"));
    line_->setTextFormat(Qt::RichText);
    line_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    line_->hide();
    bar->insertWidget(0, line_, 1);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &StatusFeedback::Expire);
    connect(line_, &QLabel::linkActivated, this, [this] {
        if (!details_.isEmpty())
            prompter_.Inform(details_, kProgramName);
    });
}

void StatusFeedback::Show(const QString& text, const QString& details)
{
    details_ = details;
    QString line = text.toHtmlEscaped();
    if (!details.isEmpty())
        line += QStringLiteral(" (<a href=\"details\">подробности…</a>)");
    line_->setText(line);
    line_->setAccessibleName(details.isEmpty() ? text : text + QStringLiteral(" (подробности…)"));
    if (fixedPanel_)
        fixedPanel_->hide();
    line_->show();
    // A line with details stays a while longer, to be clicked.
    timer_->start(details.isEmpty() ? kShownMilliseconds : 2 * kShownMilliseconds);
}

void StatusFeedback::Expire()
{
    timer_->stop();
    line_->hide();
    line_->clear();
    details_.clear();
    if (fixedPanel_)
        fixedPanel_->show();
}

} // namespace mirvane
