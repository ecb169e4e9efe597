// The print sheet's PDF writer as a module that mirvane-cli loads only when
// asked for a PDF: the tool itself never loads Qt, whose libraries would
// cost every other command some ten megabytes.
#include "pdf/SheetPdf.h"
#include "testfile/FileIo.h"

#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <cstring>
#include <memory>

// This module carries its own copy of the file helper: handed the loading
// program's cleanup state, its temporary files are the program's to remove
// when the program is interrupted.
extern "C" __attribute__((visibility("default"))) void mirvane_share_cleanup(void* programCleanup)
{
    mirvane::ShareTemporaryCleanup(static_cast<mirvane::TemporaryCleanup*>(programCleanup));
}

extern "C" __attribute__((visibility("default"))) int mirvane_write_sheet_pdf(const char* html, std::size_t length,
                                                                              const char* path, char* error,
                                                                              std::size_t errorSize)
{
    // Fonts and layout need an application; one is started only for this,
    // and ended before the call returns.
    int argc = 1;
    char name[] = "mirvane-cli";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> application;
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    const auto failed = mirvane::WriteSheetPdf(QString::fromUtf8(html, static_cast<qsizetype>(length)),
                                               QFile::decodeName(path));
    if (!failed)
        return 0;
    const QByteArray message = failed->toUtf8();
    if (errorSize > 0) {
        const std::size_t n = std::min(errorSize - 1, static_cast<std::size_t>(message.size()));
        std::memcpy(error, message.constData(), n);
        error[n] = '\0';
    }
    return 1;
}
