#pragma once
// The photograph holder: four picture slots and up to nine resource sources from which PNG
// resources are decoded. Slot 0 is the main photograph (frame 1015), slots 1 and 2 the
// characteristics page's frames (1016, 1017), slot 3 the pedigree page's frame (1026).

#include <QImage>
#include <QRect>
#include <QString>

#include <array>

class QPainter;
class QWidget;

class CPictureImage
{
public:
    static constexpr int kSlotCount = 4;
    static constexpr int kMaxSources = 9;

    CPictureImage();
    ~CPictureImage();
    CPictureImage(const CPictureImage &) = delete;
    CPictureImage &operator=(const CPictureImage &) = delete;

    // Registers the executable's own resources as source 0; a second call does nothing.
    void OpenSources();
    // Decodes PNG resource `name` (decimal digits) of `source` into `slot`. The slot is emptied
    // first, whatever the outcome; a picture that fails to decode never stays in it.
    bool LoadPngResource(int source, const QString &name, int slot);
    void ReleaseImage(int slot);
    // False when slot 0 is empty; otherwise its width in pixels.
    bool GetMainImageWidth(int *width) const;
    // Draws the slot into the frame now (a synchronous repaint of the frame): the source square
    // (x, y, cx, cy), y counted upwards from the bottom edge, stretched over the whole frame; any
    // negative x or y or non-positive size draws the whole picture. An empty slot draws the empty
    // frame and answers false; a missing frame draws nothing and answers false.
    bool DrawImage(int slot, QWidget *frame, int x, int y, int cx, int cy);
    // The painting behind DrawImage, for a frame's paint handler.
    bool Render(int slot, QPainter &painter, const QRect &client, int x, int y, int cx, int cy) const;
    // The light-grey frame with its 1-pixel black outline.
    static void DrawEmptyFrame(QPainter &painter, const QRect &client);

    bool HasImage(int slot) const;
    // The stored picture (flipped vertically: its first row is the PNG's last row), or null.
    const QImage *GetImage(int slot) const;
    int GetSourceCount() const { return m_nSourceCount; }

    // Resource folder of source 0: the PNGs compiled into the executable.
    static QString ExecutableSourcePrefix();

private:
    bool m_bSourcesOpened = false;
    int m_nSourceCount = 0;
    std::array<QString, kMaxSources> m_hSources{};  // resource folder per source, empty = none
    std::array<QImage, kSlotCount> m_pImages{};     // null image = empty slot
};
