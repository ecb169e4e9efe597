#include "mainwindow/WindowLifecycle.h"

#include "mainwindow/Twips.h"
#include "mainwindow/WindowSizing.h"
#include "platform/Settings.h"
#include "commands/DocumentCommands.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

namespace mirvane {

WindowLifecycle::WindowLifecycle(QWidget& window, Settings& settings, DocumentCommands& commands,
                                 WindowSizing& sizing)
    : QObject(&window), window_(window), settings_(settings), commands_(commands), sizing_(sizing)
{
}

int WindowLifecycle::ReadTwips(const QString& key, int fallback)
{
    bool ok = false;
    const double value =
        settings_.Read(geometry_keys::kSection, key, QString::number(fallback)).trimmed().toDouble(&ok);
    if (!ok || value < -1e6 || value > 1e6)
        return fallback;
    return static_cast<int>(value);
}

void WindowLifecycle::RestoreOnStart()
{
    const int left = ReadTwips(geometry_keys::kLeft, 1000);
    const int top = ReadTwips(geometry_keys::kTop, 1000);
    const int width = ReadTwips(geometry_keys::kWidth, 6500);
    const int height = ReadTwips(geometry_keys::kHeight, 6500);
    wanted_ = QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
    window_.move(wanted_.topLeft()); // the frame's place
    window_.resize(wanted_.size());  // until the frame is known
    sizing_.SetSplitterLeft(ReadTwips(geometry_keys::kSplitter, WindowSizing::kInitialSplitter));
    // Qt's own record knows the frame, the screen and a maximized state, so
    // the window comes back as it was however late the window manager frames
    // it. The twips alone serve a first run.
    const QByteArray stored =
        QByteArray::fromBase64(settings_.Read(geometry_keys::kSection, geometry_keys::kGeometry, QString()).toLatin1());
    if (!stored.isEmpty() && window_.restoreGeometry(stored))
        fitted_ = true;
}

void WindowLifecycle::FitFrame()
{
    if (fitted_ || window_.isMaximized() || window_.isMinimized())
        return;
    const QSize frame = window_.frameGeometry().size() - window_.geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0)
        return; // not framed (yet): the inner size is the outer size so far
    fitted_ = true;
    if (window_.size() != wanted_.size())
        return; // resized since it was loaded: that size stands
    window_.resize(wanted_.size() - frame);
    window_.move(wanted_.topLeft());
}

bool WindowLifecycle::ConfirmClose()
{
    if (!commands_.AskToSave())
        return false;
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window_ && other->isVisible())
            other->close();
    }
    if (!window_.isMinimized()) {
        // pos() is the frame's place; the frame adds its margins to the size.
        const QSize frame = (window_.frameGeometry().size() - window_.geometry().size()).expandedTo(QSize(0, 0));
        const QRect outer(window_.pos(), window_.size() + frame);
        auto write = [this](const QString& key, int pixels) {
            settings_.Write(geometry_keys::kSection, key, QString::number(PixelsToTwips(pixels)));
        };
        write(geometry_keys::kLeft, outer.x());
        write(geometry_keys::kTop, outer.y());
        write(geometry_keys::kWidth, outer.width());
        write(geometry_keys::kHeight, outer.height());
        settings_.Write(geometry_keys::kSection, geometry_keys::kSplitter, QString::number(sizing_.SplitterLeft()));
        settings_.Write(geometry_keys::kSection, geometry_keys::kGeometry,
                        QString::fromLatin1(window_.saveGeometry().toBase64()));
    }
    return true;
}

void WindowLifecycle::SetUpStatusBar(QStatusBar* bar)
{
    auto* status = new QLabel(QStringLiteral("Status"), bar);
    status->setObjectName(QStringLiteral("StatusPanel"));
    date_ = new QLabel(bar);
    date_->setObjectName(QStringLiteral("DatePanel"));
    time_ = new QLabel(bar);
    time_->setObjectName(QStringLiteral("TimePanel"));
    bar->addWidget(status, 1);
    bar->addPermanentWidget(date_);
    bar->addPermanentWidget(time_);
    RefreshClock();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &WindowLifecycle::RefreshClock);
    clock->start(1000);
}

void WindowLifecycle::RefreshClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale(QLocale::Russian, QLocale::Russia);
    date_->setText(locale.toString(now.date(), QLocale::ShortFormat));
    time_->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

} // namespace mirvane
