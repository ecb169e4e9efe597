#include "export/SheetPdf.h"

#include "testfile/FileIo.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace mirvane {

void PaintSheet(const QString& html, QPagedPaintDevice& device)
{
    // The document keeps margins of 2 cm of its own, and numbers the pages.
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
    QTextDocument document;
    document.setHtml(html);
    document.print(&device);
}

std::optional<QString> WriteSheetPdf(const QString& html, const QString& path)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Mirvane"));
        writer.setTitle(QStringLiteral("Mirvane"));
        PaintSheet(html, writer);
    }
    if (auto error = WriteFileReplacing(QFile::encodeName(path).toStdString(),
                                        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        return QString::fromStdString(*error);
    return std::nullopt;
}

} // namespace mirvane
