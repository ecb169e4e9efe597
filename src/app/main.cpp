// The editor's entry: the platform services, then the start-up routine.
#include "auxiliary/Module1.h"
#include "mainwindow/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/Launcher.h"
#include "platform/ProgramName.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtPrompter.h"
#include "platform/QtSettings.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A file-size limit makes a save fail and be reported, not end the editor.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(mirvane::kProgramName);
    QApplication::setOrganizationName(mirvane::kProgramName);
    mirvane::InstallRussianTranslations(app);

    mirvane::QtPrompter prompter;
    mirvane::QtFileDialogs fileDialogs;
    mirvane::QtSettings settings;
    mirvane::QtLauncher launcher;
    mirvane::QtClipboard clipboard;
    auto window = mirvane::StartUp({&prompter, &fileDialogs, &settings, &launcher, &clipboard});
    prompter.SetParent(window.get());
    fileDialogs.SetParent(window.get());
    return app.exec();
}
