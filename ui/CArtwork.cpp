#include "ui/CArtwork.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace {

QImage Transparent(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A magnifier: lens ring at the upper left, handle to the lower right, with a plus or a minus.
QImage DrawMagnifier(bool plus)
{
    QImage image = Transparent(CArtwork::kButtonImageSize, CArtwork::kButtonImageSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.5, 15.5), QPointF(21.5, 21.5));
    p.setPen(QPen(QColor(40, 80, 150), 2));
    p.setBrush(QColor(225, 240, 255));
    p.drawEllipse(QPointF(10, 10), 7.5, 7.5);
    p.setPen(QPen(QColor(20, 60, 130), 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(6, 10), QPointF(14, 10));
    if (plus)
        p.drawLine(QPointF(10, 6), QPointF(10, 14));
    return image;
}

// An open door with an arrow leaving it.
QImage DrawExit()
{
    QImage image = Transparent(CArtwork::kButtonImageSize, CArtwork::kButtonImageSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 60, 30), 1.5));
    p.setBrush(QColor(190, 140, 80));
    p.drawRect(QRectF(3.5, 2.5, 11, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    QPainterPath arrow;
    arrow.moveTo(10, 10);
    arrow.lineTo(16, 10);
    arrow.lineTo(16, 6);
    arrow.lineTo(23, 12);
    arrow.lineTo(16, 18);
    arrow.lineTo(16, 14);
    arrow.lineTo(10, 14);
    arrow.closeSubpath();
    p.drawPath(arrow);
    return image;
}

// A ripe rice grain on a green rounded square.
QImage DrawIcon()
{
    const int s = CArtwork::kIconSize;
    QImage image = Transparent(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 110, 50), 1));
    p.setBrush(QColor(90, 170, 80));
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), 6, 6);
    p.translate(s / 2.0, s / 2.0);
    p.rotate(-35);
    p.setPen(QPen(QColor(170, 140, 70), 1.2));
    p.setBrush(QColor(250, 240, 205));
    p.drawEllipse(QPointF(0, 0), 7, 12);
    p.setPen(QPen(QColor(200, 170, 100), 1));
    p.drawLine(QPointF(0, -10), QPointF(0, 10));
    return image;
}

// The maker's mark: a blue ring with a leaf-green dot.
QImage DrawLogo()
{
    QImage image = Transparent(32, 30);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 110, 190), 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 15), 11, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 190, 60));
    p.drawEllipse(QPointF(16, 15), 4, 4);
    return image;
}

}  // namespace

QString CArtwork::ResourcePath(int id)
{
    switch (id) {
    case IDI_MAINFRAME:
        return QStringLiteral(":/icon/128.png");
    case IDB_EXIT:
    case IDB_ZOOM_IN:
    case IDB_ZOOM_OUT:
        return QStringLiteral(":/png/%1").arg(id);
    case IDB_MAKER_LOGO:
        return QStringLiteral(":/bitmap/153.png");
    default:
        return QString();
    }
}

QImage CArtwork::DrawPlaceholder(int id)
{
    switch (id) {
    case IDI_MAINFRAME:
        return DrawIcon();
    case IDB_EXIT:
        return DrawExit();
    case IDB_ZOOM_IN:
        return DrawMagnifier(true);
    case IDB_ZOOM_OUT:
        return DrawMagnifier(false);
    case IDB_MAKER_LOGO:
        return DrawLogo();
    default:
        return QImage();
    }
}

QImage CArtwork::Load(int id)
{
    const QString path = ResourcePath(id);
    if (!path.isEmpty()) {
        const QImage image(path);
        if (!image.isNull())
            return image;
    }
    return DrawPlaceholder(id);
}

QIcon CArtwork::AppIcon()
{
    QIcon icon(QPixmap::fromImage(Load(IDI_MAINFRAME)));
    for (const int size : {16, 24, 32, 64, 256}) {
        const QImage image(QStringLiteral(":/icon/128-%1.png").arg(size));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QPixmap CArtwork::DialogIconPixmap()
{
    return AppIcon().pixmap(kIconSize, kIconSize);
}
