#include "controls/CPhotoFrame.h"

#include "viewer/CPictureImage.h"

#include <QPainter>

CPhotoFrame::CPhotoFrame(QWidget *parent)
    : QFrame(parent)
{
    // The template's black frame: a 1-pixel black box without a border of its own.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    // Every paint covers the whole frame, so redrawing a photograph while it is dragged does not
    // make the window repaint what lies behind the frame first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    // A click or Tab gives it the focus, so that the keys can pan the photograph; the window's
    // focus ring shows it.
    setFocusPolicy(Qt::StrongFocus);
}

void CPhotoFrame::ShowPicture(const QImage &picture)
{
    m_bShowing = true;
    m_picture = picture;
    m_source = picture.rect();
    update();
}

void CPhotoFrame::ShowSource(const QRect &source)
{
    if (source == m_source)
        return;
    m_source = source;
    update();
}

void CPhotoFrame::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (!m_bShowing) {
        painter.fillRect(rect(), palette().window());
        painter.end();
        QFrame::paintEvent(event);
    } else if (m_picture.isNull()) {
        CPictureImage::DrawEmptyFrame(painter, rect());
    } else {
        CPictureImage::Draw(painter, rect(), m_picture, m_source);
    }
}
