#include "tree/TreeImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mirvane {

namespace {

QPixmap Canvas()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon DrawDivision()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A folder: a tab and a body.
    p.setPen(QColor(0x9A, 0x6A, 0x00));
    p.setBrush(QColor(0xF0, 0xC0, 0x40));
    p.drawRect(QRectF(1.5, 3.5, 6, 2));
    p.setBrush(QColor(0xFF, 0xD8, 0x60));
    p.drawRect(QRectF(1.5, 5.5, 13, 8));
    return QIcon(pixmap);
}

QIcon DrawQuestion()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x1F, 0x4E, 0x9A));
    p.setBrush(QColor(0x3C, 0x7D, 0xDB));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(pixmap);
}

QIcon DrawMarks()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A five-pointed star.
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double r = (i % 2 == 0) ? 7.2 : 3.0;
        const QPointF point(8 + r * std::cos(angle), 8.4 + r * std::sin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(QColor(0xB0, 0x30, 0x10));
    p.setBrush(QColor(0xF2, 0x60, 0x30));
    p.drawPath(star);
    return QIcon(pixmap);
}

QIcon DrawParameters()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet with lines of text.
    p.setPen(QColor(0x50, 0x50, 0x50));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setPen(QColor(0x2E, 0x8B, 0x57));
    for (int y = 4; y <= 12; y += 3)
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
    return QIcon(pixmap);
}

} // namespace

const QIcon& TreeIcon(TreeImage image)
{
    static const QIcon division = DrawDivision();
    static const QIcon question = DrawQuestion();
    static const QIcon marks = DrawMarks();
    static const QIcon parameters = DrawParameters();
    switch (image) {
    case TreeImage::Division:
        return division;
    case TreeImage::Question:
        return question;
    case TreeImage::Marks:
        return marks;
    case TreeImage::Parameters:
    default:
        return parameters;
    }
}

} // namespace mirvane
