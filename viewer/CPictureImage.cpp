#include "viewer/CPictureImage.h"

#include "viewer/CPhotoFrame.h"

#include <QFile>
#include <QPainter>
#include <QWidget>

CPictureImage::CPictureImage() = default;

CPictureImage::~CPictureImage()
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        ReleaseImage(slot);
    m_hSources.fill(QString());
    m_nSourceCount = 0;
    m_bSourcesOpened = false;
}

QString CPictureImage::ExecutableSourcePrefix()
{
    return QStringLiteral(":/png/");
}

void CPictureImage::OpenSources()
{
    if (m_bSourcesOpened)
        return;
    m_nSourceCount = 1;
    m_hSources[0] = ExecutableSourcePrefix();
    m_bSourcesOpened = true;
}

bool CPictureImage::LoadPngResource(int source, const QString &name, int slot)
{
    ReleaseImage(slot);
    if (name.isEmpty() || source < 0 || source >= m_nSourceCount || m_hSources[source].isEmpty())
        return false;
    QFile file(m_hSources[source] + name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QImage image;
    if (!image.loadFromData(file.readAll(), "PNG"))
        return false;
    image = image.convertToFormat(QImage::Format_RGB888).mirrored(false, true);
    if (image.isNull())
        return false;
    m_pImages[slot] = std::move(image);
    return true;
}

void CPictureImage::ReleaseImage(int slot)
{
    m_pImages[slot] = QImage();
}

bool CPictureImage::HasImage(int slot) const
{
    return !m_pImages[slot].isNull();
}

const QImage *CPictureImage::GetImage(int slot) const
{
    return m_pImages[slot].isNull() ? nullptr : &m_pImages[slot];
}

bool CPictureImage::GetMainImageWidth(int *width) const
{
    if (m_pImages[0].isNull())
        return false;
    *width = m_pImages[0].width();
    return true;
}

void CPictureImage::DrawEmptyFrame(QPainter &painter, const QRect &client)
{
    painter.fillRect(client, QColor(240, 240, 240));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(client.adjusted(0, 0, -1, -1));
}

bool CPictureImage::Render(int slot, QPainter &painter, const QRect &client, int x, int y, int cx, int cy) const
{
    const QImage &image = m_pImages[slot];
    if (image.isNull()) {
        DrawEmptyFrame(painter, client);
        return false;
    }
    QRect source(0, 0, image.width(), image.height());
    if (x >= 0 && y >= 0 && cx > 0 && cy > 0)
        source = QRect(x, y, cx, cy);
    // The stored picture is upside down; its rows count upwards from the photograph's bottom edge.
    const QImage part = image.copy(source).mirrored(false, true);
    painter.drawImage(client, part);
    return true;
}

bool CPictureImage::DrawImage(int slot, QWidget *frame, int x, int y, int cx, int cy)
{
    if (frame == nullptr)
        return false;
    if (auto *photoFrame = qobject_cast<CPhotoFrame *>(frame)) {
        photoFrame->SetSlot(slot);
        photoFrame->SetSource(QRect(x, y, cx, cy));
    }
    frame->repaint();
    return HasImage(slot);
}
