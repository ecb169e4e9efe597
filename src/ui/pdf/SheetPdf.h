#pragma once
// Lays the print sheet out on A4 pages: on a printer, or into a PDF file.
#include <QString>

#include <optional>

class QPagedPaintDevice;

namespace mirvane {

// Lays out and paints the page (HTML) onto the device, page by page.
void PaintSheet(const QString& html, QPagedPaintDevice& device);

// Writes the sheet as a PDF file through the safe file helper; the PDF's
// title is the page's. Nothing on
// success; otherwise the message naming the file and the cause.
std::optional<QString> WriteSheetPdf(const QString& html, const QString& path);

} // namespace mirvane
