// Renders the program's icon to PNG files of the given sizes at build time:
// mirvane-icon OUTPUT_FOLDER SIZE [SIZE ...] writes SIZExSIZE.png each.
#include "windows/SplashScreen.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return 2;
    QDir().mkpath(args[1]);
    for (int i = 2; i < args.size(); ++i) {
        const int size = args[i].toInt();
        if (size <= 0 || !mirvane::ProductPicture(size).save(QStringLiteral("%1/%2x%2.png").arg(args[1]).arg(size)))
            return 1;
    }
    return 0;
}
