#include "platform/Printing.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace mirvane {

bool QtPrinting::Print(QWidget* parent, const PagePainter& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    paint(printer);
    return true;
}

void QtPrinting::Preview(QWidget* parent, const PagePainter& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter* shown) { paint(*shown); });
    preview.exec();
}

} // namespace mirvane
