#include "viewer/CPhotoFrame.h"

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
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CPhotoFrame::SetHolderProvider(HolderProvider provider)
{
    m_holder = std::move(provider);
}

void CPhotoFrame::SetSourceProvider(SourceProvider provider)
{
    m_sourceProvider = std::move(provider);
}

void CPhotoFrame::paintEvent(QPaintEvent *event)
{
    CPictureImage *holder = m_holder ? m_holder() : nullptr;
    if (holder == nullptr) {
        QFrame::paintEvent(event);
        return;
    }
    const QRect source = m_sourceProvider ? m_sourceProvider() : m_source;
    QPainter painter(this);
    holder->Render(m_nSlot, painter, rect(), source.x(), source.y(), source.width(), source.height());
}
