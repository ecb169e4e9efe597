#include "windows/SplashScreen.h"

#include "windows/ProgramVersion.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace mirvane {

// The product picture: a sheet with a question mark and a tick, drawn on a
// square of 96 units.
QPixmap ProductPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 96.0, size / 96.0);
    p.setPen(QPen(QColor(0x2E, 0x5C, 0x8A), 3));
    p.setBrush(QColor(0xF4, 0xF8, 0xFF));
    p.drawRoundedRect(QRectF(14, 6, 68, 84), 6, 6);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(44);
    p.setFont(font);
    p.setPen(QColor(0x3C, 0x7D, 0xDB));
    p.drawText(QRect(14, 8, 68, 60), Qt::AlignCenter, QStringLiteral("?"));
    p.setPen(QPen(QColor(0x2E, 0x8B, 0x57), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(34, 72), QPointF(44, 82), QPointF(64, 60)}));
    return pixmap;
}

QString BuildPlatformName()
{
#ifdef _WIN32
    return QStringLiteral("WIN32");
#else
    return QStringLiteral("Linux");
#endif
}

SplashScreen::SplashScreen(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    auto* outer = new QVBoxLayout(this);
    auto* fraMainFrame = new QFrame(this);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setFrameShape(QFrame::Box);
    outer->addWidget(fraMainFrame);
    auto* layout = new QVBoxLayout(fraMainFrame);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(8);

    auto* image = new QLabel(fraMainFrame);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(ProductPicture());
    image->setAlignment(Qt::AlignCenter);
    layout->addWidget(image);

    lblProductName = new QLabel(fraMainFrame);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    QFont title = lblProductName->font();
    title.setPointSize(title.pointSize() + 12);
    title.setBold(true);
    lblProductName->setFont(title);
    lblProductName->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblProductName);

    lblVersion = new QLabel(fraMainFrame);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblVersion);

    lblPlatform = new QLabel(BuildPlatformName(), fraMainFrame);
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));
    lblPlatform->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblPlatform);

    lblDate = new QLabel(QStringLiteral("Май 2002"), fraMainFrame);
    lblDate->setObjectName(QStringLiteral("lblDate"));
    lblDate->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblDate);

    // On load: the title and version, then the timer.
    lblProductName->setText(kProgramName);
    lblVersion->setText(VersionLabel());
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, [this] {
        Timer->stop();
        accept();
    });
    Timer->start(kInterval);
}

void SplashScreen::keyPressEvent(QKeyEvent* event) { event->ignore(); }

void SplashScreen::reject() {} // Escape and the window's close do not end the splash early

} // namespace mirvane
