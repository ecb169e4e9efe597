// The editor's entry: the platform services, then the start-up routine.
#include "app/StartUp.h"
#include "mainwindow/MainWindow.h"
#include "commands/DocumentCommands.h"
#include "editor/RecoveryStore.h"
#include "check/SpellChecker.h"
#include "platform/Clipboard.h"
#include "platform/Launcher.h"
#include "platform/ProgramName.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtHelpViewer.h"
#include "platform/Printing.h"
#include "platform/Registry.h"
#include "platform/QtPrompter.h"
#include "platform/QtSettings.h"
#include "platform/Translations.h"

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
    mirvane::QtHelpViewer helpViewer;
    mirvane::QtRegistry registry(settings);
    mirvane::QtPrinting printing;
    mirvane::Platform platform{&prompter,  &fileDialogs, &settings, &launcher, &clipboard, &helpViewer, &registry,
                               mirvane::RecoveryStore::DefaultFolder(), &printing, {}};
    platform.dictionaries = [] { return std::make_unique<mirvane::SpellChecker>(); };
    auto window = mirvane::StartUp(platform);
    prompter.SetParent(window.get());
    fileDialogs.SetParent(window.get());
    helpViewer.SetParent(window.get());
    // A file given on the command line (a double click in the file manager)
    // is opened as Open would; one that cannot be read is reported and the
    // new test stays.
    window->OfferRecovery();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window->OpenFile(arguments.at(1));
    return app.exec();
}
