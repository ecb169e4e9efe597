#include "commands/ToolbarIcons.h"

#include "tree/TreeImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mirvane {

namespace {

const QColor kInk(0x30, 0x30, 0x30);

void Page(QPainter& p)
{
    QPainterPath page;
    page.moveTo(4.5, 2.5);
    page.lineTo(13.5, 2.5);
    page.lineTo(17.5, 6.5);
    page.lineTo(17.5, 19.5);
    page.lineTo(4.5, 19.5);
    page.closeSubpath();
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawPath(page);
}

// The tree's own picture of a division or a question, drawn in the corner.
void TreePicture(QPainter& p, TreeImage image)
{
    p.drawPixmap(1, 2, TreeIcon(image).pixmap(16, 16));
}

void Plus(QPainter& p)
{
    p.setPen(QPen(QColor(0x2E, 0x8B, 0x57), 3));
    p.drawLine(QPointF(16, 12), QPointF(16, 20));
    p.drawLine(QPointF(12, 16), QPointF(20, 16));
}

void Arrow(QPainter& p, bool down)
{
    QPolygonF head = down ? QPolygonF({QPointF(5, 11), QPointF(17, 11), QPointF(11, 19)})
                          : QPolygonF({QPointF(5, 11), QPointF(17, 11), QPointF(11, 3)});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3C, 0x7D, 0xDB));
    p.drawPolygon(head);
    p.drawRect(QRectF(8.5, down ? 3 : 11, 5, 8));
}

} // namespace

QIcon ToolbarIcon(const QString& key)
{
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == QLatin1String("New")) {
        Page(p);
    } else if (key == QLatin1String("Open")) {
        TreePicture(p, TreeImage::Division);
    } else if (key == QLatin1String("Save")) {
        p.setPen(kInk);
        p.setBrush(QColor(0x3C, 0x5A, 0x9A));
        p.drawRect(QRectF(3.5, 3.5, 15, 15));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 9, 6));
        p.drawRect(QRectF(6.5, 12.5, 9, 6));
    } else if (key == QLatin1String("Division")) {
        TreePicture(p, TreeImage::Division);
        Plus(p);
    } else if (key == QLatin1String("Question")) {
        TreePicture(p, TreeImage::Question);
        Plus(p);
    } else if (key == QLatin1String("MoveDown")) {
        Arrow(p, true);
    } else if (key == QLatin1String("MoveUp")) {
        Arrow(p, false);
    } else if (key == QLatin1String("Delete")) {
        p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(17, 17));
        p.drawLine(QPointF(17, 5), QPointF(5, 17));
    } else if (key == QLatin1String("Cut")) {
        p.setPen(QPen(kInk, 1.6));
        p.drawLine(QPointF(6, 3), QPointF(14, 14));
        p.drawLine(QPointF(16, 3), QPointF(8, 14));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(6.5, 16.5), 3, 3);
        p.drawEllipse(QPointF(15.5, 16.5), 3, 3);
    } else if (key == QLatin1String("Copy")) {
        p.setPen(kInk);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 3.5, 10, 12));
        p.drawRect(QRectF(8.5, 7.5, 10, 12));
    } else if (key == QLatin1String("Paste")) {
        p.setPen(kInk);
        p.setBrush(QColor(0xC8, 0x9A, 0x5A));
        p.drawRect(QRectF(3.5, 4.5, 13, 15));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9.5, 9.5, 9, 10));
        p.setBrush(QColor(0x80, 0x80, 0x80));
        p.drawRect(QRectF(7.5, 2.5, 5, 3));
    } else if (key == QLatin1String("Preview")) {
        p.setPen(kInk);
        p.setBrush(QColor(0xF4, 0xF8, 0xFF));
        p.drawRoundedRect(QRectF(2.5, 4.5, 17, 13), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2E, 0x8B, 0x57));
        p.drawPolygon(QPolygonF({QPointF(9, 7.5), QPointF(15, 11), QPointF(9, 14.5)}));
    } else if (key == QLatin1String("Help")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3C, 0x7D, 0xDB));
        p.drawEllipse(QRectF(2, 2, 18, 18));
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
    } else if (key == QLatin1String("Spell")) {
        Page(p);
        p.setPen(QPen(QColor(0x2E, 0x8B, 0x57), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(7, 11), QPointF(10, 15), QPointF(16, 7)}));
    } else if (key == QLatin1String("Findings")) {
        Page(p);
        p.setPen(QPen(QColor(0xC8, 0x7A, 0x00), 1.5));
        for (int line = 0; line < 3; ++line)
            p.drawLine(QPointF(7, 8.5 + line * 4), QPointF(15, 8.5 + line * 4));
    } else {
        return {}; // a command without a toolbar button has no picture
    }
    return QIcon(pixmap);
}

} // namespace mirvane
