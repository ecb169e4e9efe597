// vexopv: the preview player the editor starts with the test file to show
// ("temp.q" in its working folder). It reads the file and never writes it.
#include "platform/Translations.h"
#include "platform/QtPrompter.h"
#include "player/PlayerWindow.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vexopv"));
    mirvane::InstallRussianTranslations(app);
    mirvane::QtPrompter messages;
    mirvane::Prompter& prompter = messages;
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        prompter.Notice(QStringLiteral("Использование: vexopv ФАЙЛ_ТЕСТА"));
        return 2;
    }
    mirvane::PlayerWindow window(prompter, QRandomGenerator::global()->generate());
    messages.SetParent(&window);
    if (const int refused = window.Open(QFile::encodeName(args[1]).toStdString()))
        return refused;
    window.showMaximized();
    window.activateWindow();
    return app.exec();
}
