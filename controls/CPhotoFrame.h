#pragma once
// A photo frame control: a black-frame static whose client area shows one picture slot of the
// photograph holder. Until the frame is told where the holder is (or while the holder pointer
// its owner keeps is null), it draws the template's black frame only.

#include "viewer/CPictureImage.h"

#include <QFrame>
#include <QRect>

#include <functional>

class CPhotoFrame : public QFrame, public CPictureFrame
{
    Q_OBJECT

public:
    using HolderProvider = std::function<CPictureImage *()>;
    using SourceProvider = std::function<QRect()>;

    explicit CPhotoFrame(QWidget *parent = nullptr);

    // Where the holder is found at paint time (the owner's pointer may still be null).
    void SetHolderProvider(HolderProvider provider);
    // The slot this frame shows.
    void SetSlot(int slot) { m_nSlot = slot; }
    int GetSlot() const { return m_nSlot; }
    // The source square of the last draw request, used again by later paints.
    QRect GetSource() const { return m_source; }
    // When set, every paint asks for the current source square instead (the main photograph's view).
    void SetSourceProvider(SourceProvider provider);

    // A draw request of the holder: paints the frame at once from `holder` with this slot and
    // square, whatever the providers answer; later paints go through them again.
    void DrawFrom(const CPictureImage &holder, int slot, const QRect &source) override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    HolderProvider m_holder;
    SourceProvider m_sourceProvider;
    const CPictureImage *m_pDrawingHolder = nullptr;  // set only during DrawFrom
    int m_nSlot = 0;
    QRect m_source;  // (x, y, cx, cy); a null rectangle means the whole picture
};
