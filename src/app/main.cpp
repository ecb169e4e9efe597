// The editor's entry: the platform services, then the main window.
#include "mainwindow/frmMain.h"
#include "mainwindow/Twips.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtPrompter.h"
#include "platform/QtSettings.h"
#include "platform/Launcher.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirvane"));
    QApplication::setOrganizationName(QStringLiteral("Mirvane"));

    mirvane::QtPrompter prompter;
    mirvane::QtFileDialogs fileDialogs;
    mirvane::QtSettings settings;
    mirvane::QtLauncher launcher;
    mirvane::frmMain window({&prompter, &fileDialogs, &settings, &launcher});
    prompter.SetParent(&window);
    fileDialogs.SetParent(&window);
    window.setGeometry(mirvane::Twips(1000), mirvane::Twips(1000), mirvane::Twips(6500), mirvane::Twips(6500));
    window.show();
    return app.exec();
}
