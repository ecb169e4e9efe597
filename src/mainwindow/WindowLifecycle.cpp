#include "mainwindow/WindowLifecycle.h"

#include "mainwindow/Twips.h"
#include "platform/Settings.h"
#include "testfile/DocumentCommands.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

namespace mirvane {

WindowLifecycle::WindowLifecycle(QWidget& window, Settings& settings, DocumentCommands& commands)
    : QObject(&window), window_(window), settings_(settings), commands_(commands)
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

void WindowLifecycle::Form_Load()
{
    const int left = ReadTwips(geometry_keys::kLeft, 1000);
    const int top = ReadTwips(geometry_keys::kTop, 1000);
    const int width = ReadTwips(geometry_keys::kWidth, 6500);
    const int height = ReadTwips(geometry_keys::kHeight, 6500);
    window_.move(TwipsToPixels(left), TwipsToPixels(top));
    window_.resize(TwipsToPixels(width), TwipsToPixels(height));
}

bool WindowLifecycle::Form_Unload()
{
    if (!commands_.AskToSave())
        return false;
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window_ && other->isVisible())
            other->close();
    }
    if (!window_.isMinimized()) {
        settings_.Write(geometry_keys::kSection, geometry_keys::kLeft, QString::number(PixelsToTwips(window_.x())));
        settings_.Write(geometry_keys::kSection, geometry_keys::kTop, QString::number(PixelsToTwips(window_.y())));
        settings_.Write(geometry_keys::kSection, geometry_keys::kWidth, QString::number(PixelsToTwips(window_.width())));
        settings_.Write(geometry_keys::kSection, geometry_keys::kHeight, QString::number(PixelsToTwips(window_.height())));
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
    const QLocale locale;
    date_->setText(locale.toString(now.date(), QLocale::ShortFormat));
    time_->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

} // namespace mirvane
