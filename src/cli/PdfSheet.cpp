#include "cli/PdfSheet.h"

#include "export/PrintSheet.h"
#include "export/SheetPdf.h"

#include <QFile>
#include <QGuiApplication>

#include <memory>

namespace mirvane {

std::optional<std::string> WritePdfSheet(const Test& test, const DocumentOrder& order, TextContent content,
                                         const std::string& path)
{
    // Fonts and layout need an application; the tool starts one only for
    // this, and ends it before it returns.
    int argc = 1;
    char name[] = "mirvane-cli";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> application;
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    const QString html = QString::fromStdString(PrintSheetHtml(test, order, content));
    if (auto error = WriteSheetPdf(html, QFile::decodeName(path.c_str())))
        return error->toStdString();
    return std::nullopt;
}

} // namespace mirvane
