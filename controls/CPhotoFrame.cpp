#include "controls/CPhotoFrame.h"

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
}

void CPhotoFrame::SetHolderProvider(HolderProvider provider)
{
    m_holder = std::move(provider);
}

void CPhotoFrame::SetSourceProvider(SourceProvider provider)
{
    m_sourceProvider = std::move(provider);
}

void CPhotoFrame::DrawFrom(const CPictureImage &holder, int slot, const QRect &source)
{
    m_nSlot = slot;
    m_source = source;
    m_pDrawingHolder = &holder;
    repaint();
    m_pDrawingHolder = nullptr;
}

void CPhotoFrame::paintEvent(QPaintEvent *event)
{
    const CPictureImage *holder = m_pDrawingHolder != nullptr ? m_pDrawingHolder : (m_holder ? m_holder() : nullptr);
    if (holder == nullptr) {
        {
            QPainter painter(this);
            painter.fillRect(rect(), palette().window());
        }
        QFrame::paintEvent(event);
        return;
    }
    // A draw request shows the square it asked for; other paints show the owner's current view.
    const QRect source = (m_pDrawingHolder == nullptr && m_sourceProvider) ? m_sourceProvider() : m_source;
    QPainter painter(this);
    holder->Render(m_nSlot, painter, rect(), source.x(), source.y(), source.width(), source.height());
}
