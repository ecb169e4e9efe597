#include "app/StartUp.h"

#include "windows/SplashScreen.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>

namespace mirvane {

namespace {
MainWindow* gMainWindow = nullptr;
}

MainWindow* RunningMainWindow() { return gMainWindow; }

std::unique_ptr<MainWindow> StartUp(const Platform& platform)
{
    {
        SplashScreen splash;
        splash.exec(); // returns when the splash's own timer closes it
    }
    auto window = std::make_unique<MainWindow>(platform);
    gMainWindow = window.get();
    QObject::connect(window.get(), &QObject::destroyed, [] { gMainWindow = nullptr; });
    window->show();
    return window;
}

} // namespace mirvane
