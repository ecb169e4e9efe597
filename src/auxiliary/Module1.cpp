#include "auxiliary/Module1.h"

#include "auxiliary/frmSplash.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace mirvane {

namespace {
frmMain* gMainWindow = nullptr;
}

frmMain* MainWindow() { return gMainWindow; }

void InstallRussianTranslations(QApplication& app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_ru", "qt_ru"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QLatin1String(name), folder))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
}

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
