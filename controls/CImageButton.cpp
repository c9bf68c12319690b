#include "controls/CImageButton.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

namespace {
constexpr int kImageTextGap = 4;

struct Shade {
    QColor top, bottom, border;
};

Shade ShadeFor(bool enabled, bool down, bool hot)
{
    if (!enabled)
        return {QColor(242, 242, 242), QColor(230, 230, 230), QColor(190, 190, 190)};
    if (down)
        return {QColor(250, 190, 120), QColor(253, 225, 150), QColor(160, 110, 50)};
    if (hot)
        return {QColor(255, 245, 205), QColor(255, 215, 110), QColor(200, 160, 80)};
    return {QColor(236, 244, 255), QColor(198, 220, 248), QColor(125, 160, 205)};
}
}  // namespace

CImageButton::CImageButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setAttribute(Qt::WA_Hover);
}

void CImageButton::SetImage(const QImage &image)
{
    m_image = image;
    update();
}

void CImageButton::enterEvent(QEnterEvent *event)
{
    m_bHot = true;
    update();
    QPushButton::enterEvent(event);
}

void CImageButton::leaveEvent(QEvent *event)
{
    m_bHot = false;
    update();
    QPushButton::leaveEvent(event);
}

void CImageButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool down = isDown() || isChecked();
    const Shade shade = ShadeFor(isEnabled(), down, m_bHot);

    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, shade.top);
    fill.setColorAt(1.0, shade.bottom);
    p.setBrush(fill);
    // The default button carries a darker border, as the dialog's Enter key goes to it.
    p.setPen(QPen(isDefault() && isEnabled() ? shade.border.darker(140) : shade.border, 1));
    p.drawRoundedRect(box, 3, 3);

    // Image and text side by side, the pair centred; the text keeps the button's font.
    const QFontMetrics metrics(font());
    const QSize imageSize = m_image.isNull() ? QSize() : m_image.size().scaled(24, 24, Qt::KeepAspectRatio);
    const int textWidth = metrics.horizontalAdvance(text());
    const int gap = (imageSize.isEmpty() || text().isEmpty()) ? 0 : kImageTextGap;
    const int total = imageSize.width() + gap + textWidth;
    int x = (width() - total) / 2 + (down ? 1 : 0);
    const int shift = down ? 1 : 0;
    if (!imageSize.isEmpty()) {
        const QRect target(x, (height() - imageSize.height()) / 2 + shift, imageSize.width(), imageSize.height());
        if (isEnabled()) {
            p.drawImage(target, m_image);
        } else {
            p.setOpacity(0.4);
            p.drawImage(target, m_image);
            p.setOpacity(1.0);
        }
        x += imageSize.width() + gap;
    }
    p.setPen(isEnabled() ? QColor(21, 66, 139) : QColor(150, 150, 150));
    p.drawText(QRect(x, shift, textWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, text());

    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen focusPen(QColor(60, 60, 60), 1, Qt::DotLine);
        p.setPen(focusPen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}
