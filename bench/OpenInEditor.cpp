// Opens a test file in the editor on the offscreen platform, the way a user
// does (the name chosen, then the tree shown), and prints the time from the
// chosen name to the tree painted, and the process's peak memory from
// getrusage beside the file's size.
#include "../tests/ui/FakePlatform.h"
#include "../tests/ui/WindowParts.h"
#include "mainwindow/Twips.h"
#include "mainwindow/MainWindow.h"
#include "commands/DocumentCommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: mirvane-bench-open FILE.q\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mirvane::testing::FakePlatform platform;
    mirvane::MainWindow window(platform.Services());
    window.resize(mirvane::TwipsToPixels(12000), mirvane::TwipsToPixels(9000));
    window.show();
    QApplication::processEvents();
    const QString path = QString::fromLocal8Bit(argv[1]);
    QElapsedTimer timer;
    timer.start();
    Parts(window).Documents().OpenFile(path);
    QApplication::processEvents(); // the tree paints its first screen
    const qint64 ms = timer.elapsed();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double fileKb = static_cast<double>(QFileInfo(path).size()) / 1024.0;
    std::printf("open in editor               %6lld ms   peak %7ld KB   file %7.0f KB   memory ratio %.2f\n",
                static_cast<long long>(ms), usage.ru_maxrss, fileKb, static_cast<double>(usage.ru_maxrss) / fileKb);
    return 0;
}
