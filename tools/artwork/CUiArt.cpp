#include "CUiArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {

constexpr int kButtonSize = 24;

QImage Transparent(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A magnifying glass: lens at the upper left, handle towards the lower right, with a plus or a
// minus in the lens.
QImage Magnifier(bool plus)
{
    QImage image = Transparent(kButtonSize, kButtonSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);

    // Handle.
    painter.setPen(QPen(QColor(70, 52, 36), 4.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(15.2, 15.2), QPointF(21.0, 21.0));
    painter.setPen(QPen(QColor(150, 112, 72), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(15.8, 15.2), QPointF(20.6, 20.0));

    // Lens: pale glass with a dark rim.
    const QPointF centre(9.5, 9.5);
    QRadialGradient glass(QPointF(7.5, 7.0), 8.5);
    glass.setColorAt(0.0, QColor(255, 255, 255, 240));
    glass.setColorAt(1.0, QColor(186, 220, 240, 220));
    painter.setBrush(glass);
    painter.setPen(QPen(QColor(44, 62, 84), 2.0));
    painter.drawEllipse(centre, 7.0, 7.0);

    // The sign.
    painter.setPen(QPen(QColor(30, 96, 170), 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(6.0, 9.5), QPointF(13.0, 9.5));
    if (plus)
        painter.drawLine(QPointF(9.5, 6.0), QPointF(9.5, 13.0));
    return image;
}

}  // namespace

QImage CUiArt::ExitButton()
{
    QImage image = Transparent(kButtonSize, kButtonSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);

    // An open door: the frame, the dark doorway and the door leaf swung towards the viewer.
    painter.setPen(QPen(QColor(80, 64, 50), 1.0));
    painter.setBrush(QColor(236, 230, 220));
    painter.drawRect(QRectF(3.5, 2.5, 11.0, 19.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(52, 46, 42));
    painter.drawRect(QRectF(5.0, 4.0, 8.0, 16.5));
    QPainterPath leaf;
    leaf.moveTo(5.0, 4.0);
    leaf.lineTo(10.0, 6.0);
    leaf.lineTo(10.0, 22.0);
    leaf.lineTo(5.0, 20.5);
    leaf.closeSubpath();
    painter.setPen(QPen(QColor(96, 60, 30), 1.0));
    painter.setBrush(QColor(178, 118, 62));
    painter.drawPath(leaf);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 214, 120));
    painter.drawEllipse(QPointF(8.6, 13.5), 0.9, 0.9);

    // The arrow out of the door.
    painter.setPen(QPen(QColor(200, 40, 32), 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12.0, 12.0), QPointF(19.0, 12.0));
    QPainterPath head;
    head.moveTo(22.5, 12.0);
    head.lineTo(17.0, 7.0);
    head.lineTo(17.0, 17.0);
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 40, 32));
    painter.drawPath(head);
    return image;
}

QImage CUiArt::ZoomInButton()
{
    return Magnifier(true);
}

QImage CUiArt::ZoomOutButton()
{
    return Magnifier(false);
}

QImage CUiArt::AppIcon(int size)
{
    QImage image = Transparent(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double s = size / 48.0;
    painter.scale(s, s);

    // A rounded green tile.
    QLinearGradient tile(0, 0, 0, 48);
    tile.setColorAt(0.0, QColor(74, 150, 72));
    tile.setColorAt(1.0, QColor(36, 104, 46));
    painter.setPen(size <= 16 ? Qt::NoPen : QPen(QColor(24, 70, 30), 1.0));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 45.0, 45.0), 9.0, 9.0);

    // One large hulled grain lying diagonally, its embryo at the lower-left end.
    painter.translate(24.0, 24.5);
    painter.rotate(-42.0);
    const QRectF grain(-18.5, -10.0, 37.0, 20.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(16, 60, 24, 110));
    painter.drawEllipse(grain.translated(1.2, 2.2));
    QLinearGradient shade(0.0, grain.top(), 0.0, grain.bottom());
    shade.setColorAt(0.0, QColor(255, 252, 238));
    shade.setColorAt(0.6, QColor(246, 234, 200));
    shade.setColorAt(1.0, QColor(214, 192, 140));
    painter.setPen(size <= 16 ? Qt::NoPen : QPen(QColor(150, 122, 70), size <= 24 ? 1.2 : 0.9));
    painter.setBrush(shade);
    painter.drawEllipse(grain);
    QPainterPath inside;
    inside.addEllipse(grain.adjusted(0.8, 0.8, -0.8, -0.8));
    painter.setClipPath(inside);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(232, 192, 96));
    painter.drawEllipse(QPointF(-15.5, 4.5), 4.6, 4.4);
    if (size >= 32) {
        // The shallow groove along the grain and a highlight on its lit side.
        painter.setPen(QPen(QColor(214, 192, 140), 0.9, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(-9.0, 2.5), QPointF(13.0, 2.5));
        painter.setPen(QPen(QColor(255, 255, 255, 220), 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(-8.0, -6.0), QPointF(8.0, -6.5));
    }
    return image;
}

QImage CUiArt::MakerLogo()
{
    // The maker's mark: a sky-blue disc with a white leaf curving up from its lower left.
    constexpr int kSize = 28;
    QImage image = Transparent(kSize, kSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient disc(QPointF(10.0, 9.0), 18.0);
    disc.setColorAt(0.0, QColor(150, 222, 250));
    disc.setColorAt(1.0, QColor(60, 160, 214));
    painter.setPen(QPen(QColor(34, 120, 176), 1.0));
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(1.0, 1.0, 26.0, 26.0));

    QPainterPath leaf;
    leaf.moveTo(7.0, 21.0);
    leaf.cubicTo(7.5, 12.0, 13.0, 6.5, 21.5, 6.0);
    leaf.cubicTo(21.0, 14.5, 15.5, 20.0, 7.0, 21.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(leaf);
    painter.setPen(QPen(QColor(60, 160, 214), 1.1, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8.5, 19.5), QPointF(18.5, 9.0));
    return image;
}
