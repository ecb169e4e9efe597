// One of two editors that exchange a question through the real system
// clipboard (run by clipboard_between_editors.sh under a real X server).
//   copy FILE KEY READY: copies the item KEY of the test FILE, says so in the
//                        file READY, and stays (the clipboard is its own)
//                        until it is ended
//   paste FILE KEY OUT:  pastes into the test FILE at the item KEY and
//                        writes the result to OUT
#include "FakePlatform.h"
#include "ui/WindowParts.h"
#include "TestSupport.h"

#include "commands/CommandActions.h"
#include "document/TestDocument.h"
#include "tree/StructureTree.h"
#include "mainwindow/MainWindow.h"
#include "testfile/FileIo.h"
#include "testfile/TestFileWriter.h"

#include <QAction>
#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include <iostream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 5)
        return 2;
    const std::string mode = argv[1];
    std::string bytes;
    if (mirvane::ReadFileBytes(argv[2], bytes))
        return 2;
    mirvane::testing::FakePlatform fakes;
    mirvane::QtClipboard clipboard;
    mirvane::Platform platform = fakes.Services();
    platform.clipboard = &clipboard;
    mirvane::MainWindow window(platform);
    window.show();
    auto loaded = mirvane::testing::LoadBytes(bytes);
    window.ShowDocument(std::make_unique<mirvane::TestDocument>(std::move(loaded.test)));
    Parts(window).Tree().Select(argv[3]);
    window.ShowSelectedNode();
    Parts(window).Tree().Widget()->setFocus();
    QApplication::processEvents();

    if (mode == "copy") {
        Parts(window).Actions().Get(mirvane::Command::Copy)->trigger();
        QApplication::processEvents();
        if (mirvane::WriteFileReplacing(argv[4], "ready"))
            return 2;
        QTimer::singleShot(30000, &app, &QApplication::quit); // never outlives a stuck test
        return app.exec();
    }
    // The clipboard of another process arrives through the X server.
    for (int i = 0; i < 50 && !clipboard.Text().startsWith(QStringLiteral("=ВОПРОС=")); ++i) {
        QApplication::processEvents();
        QThread::msleep(100);
    }
    Parts(window).Actions().Get(mirvane::Command::Paste)->trigger();
    const mirvane::TestDocument& document = window.CommittedDocument();
    if (mirvane::WriteFileReplacing(argv[4], mirvane::WriteTestFile(document.Model(), document.Order())))
        return 2;
    std::cout << fakes.prompter.Texts().join(QLatin1Char('\n')).toStdString();
    return 0;
}
