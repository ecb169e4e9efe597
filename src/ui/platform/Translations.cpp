#include "platform/Translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace mirvane {

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

} // namespace mirvane
