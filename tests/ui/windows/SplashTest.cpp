#include "FakePlatform.h"

#include "app/StartUp.h"
#include "windows/ProgramVersion.h"
#include "windows/SplashScreen.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace mirvane::testing {
namespace {

TEST(Splash, ShowsTitleVersionPlatformAndDate)
{
    SplashScreen splash;
    EXPECT_EQ(splash.lblProductName->text(), "Mirvane");
    EXPECT_EQ(splash.lblVersion->text(), "Version 1.0.12");
    EXPECT_EQ(splash.lblPlatform->text(), "Linux");
    EXPECT_EQ(splash.lblDate->text(), "Май 2002");
    EXPECT_EQ(splash.Timer->interval(), 1000);
    EXPECT_TRUE(splash.Timer->isActive());
}

// Records the order in which the two windows are shown and hidden.
class ShowOrder : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
            const QString name = watched->objectName();
            if (name == "frmSplash" || name == "frmMain")
                events << name + (event->type() == QEvent::Show ? " shown" : " hidden");
        }
        return false;
    }
    QStringList events;
};

TEST(Splash, MainWindowShowsOnlyAfterTheSplashClosed)
{
    FakePlatform platform;
    ShowOrder order;
    qApp->installEventFilter(&order);
    QElapsedTimer timer;
    timer.start();
    auto window = StartUp(platform.Services());
    const qint64 elapsed = timer.elapsed();
    qApp->removeEventFilter(&order);
    ASSERT_GE(order.events.size(), 3);
    EXPECT_EQ(order.events[0], "frmSplash shown");
    EXPECT_EQ(order.events[1], "frmSplash hidden");
    EXPECT_EQ(order.events[2], "frmMain shown");
    EXPECT_GE(elapsed, 900); // the splash's own one-second timer ended it
    EXPECT_EQ(RunningMainWindow(), window.get());
    EXPECT_TRUE(window->isVisible());
    window.reset();
    EXPECT_EQ(RunningMainWindow(), nullptr);
}

} // namespace
} // namespace mirvane::testing
