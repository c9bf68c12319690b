#pragma once
// A photo frame control: a black-frame static whose client area shows one picture slot of the
// photograph holder. Until the frame is told where the holder is (or while the holder pointer
// its owner keeps is null), it draws the template's black frame only.

#include <QFrame>
#include <QRect>

#include <functional>

class CPictureImage;

class CPhotoFrame : public QFrame
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
    void SetSource(const QRect &source) { m_source = source; }
    QRect GetSource() const { return m_source; }
    // When set, every paint asks for the current source square instead (the main photograph's view).
    void SetSourceProvider(SourceProvider provider);

    // Paints the frame at once from `holder` with the slot and square last set (a draw request of
    // the holder itself), whatever the providers answer; later paints go through them again.
    void RepaintWith(CPictureImage *holder);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    HolderProvider m_holder;
    SourceProvider m_sourceProvider;
    CPictureImage *m_pDrawingHolder = nullptr;  // set only during RepaintWith
    int m_nSlot = 0;
    QRect m_source;  // (x, y, cx, cy); a null rectangle means the whole picture
};
