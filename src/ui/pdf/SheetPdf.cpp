#include "pdf/SheetPdf.h"

#include "testfile/FileIo.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace mirvane {

namespace {

void Paint(QTextDocument& document, QPagedPaintDevice& device)
{
    // The document keeps margins of 2 cm of its own, and numbers the pages.
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
    document.print(&device);
}

} // namespace

void PaintSheet(const QString& html, QPagedPaintDevice& device)
{
    QTextDocument document;
    document.setHtml(html);
    Paint(document, device);
}

std::optional<QString> WriteSheetPdf(const QString& html, const QString& path)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QTextDocument document;
        document.setHtml(html);
        // The file is known by the test's title in a viewer's window and list.
        const QString title = document.metaInformation(QTextDocument::DocumentTitle).trimmed();
        writer.setCreator(QStringLiteral("Mirvane"));
        writer.setTitle(title.isEmpty() ? QStringLiteral("Mirvane") : title);
        Paint(document, writer);
    }
    if (auto error = WriteFileReplacing(QFile::encodeName(path).toStdString(),
                                        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        return QString::fromStdString(*error);
    return std::nullopt;
}

} // namespace mirvane
