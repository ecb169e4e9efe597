#include "app/Module1.h"

#include "windows/frmSplash.h"
#include "mainwindow/frmMain.h"

#include <QApplication>

namespace mirvane {

namespace {
frmMain* gMainWindow = nullptr;
}

frmMain* MainWindow() { return gMainWindow; }

std::unique_ptr<frmMain> StartUp(const Platform& platform)
{
    {
        frmSplash splash;
        splash.exec(); // returns when the splash's own timer closes it
    }
    auto window = std::make_unique<frmMain>(platform);
    gMainWindow = window.get();
    QObject::connect(window.get(), &QObject::destroyed, [] { gMainWindow = nullptr; });
    window->show();
    return window;
}

} // namespace mirvane
