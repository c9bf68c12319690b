#pragma once
// The photograph holder: four picture slots and up to nine resource sources from which PNG
// resources are decoded. Slot 0 is the main photograph (frame 1015), slots 1 and 2 the
// characteristics page's frames (1016, 1017), slot 3 the pedigree page's frame (1026).
//
// A slot is either empty or holds a completely decoded picture, stored upside down (its first row
// is the PNG's last row) as 32-bit RGB. Source rectangles count y upwards from the photograph's
// bottom edge, so that together with the stored order the picture is shown upright.

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class CPictureImage;
class QPainter;
class QWidget;

// A control that shows one picture slot of the holder (the photo frames). A draw request hands it
// the holder, the slot and the source square; it paints at once and keeps slot and square for
// its later paints.
class CPictureFrame
{
public:
    virtual ~CPictureFrame() = default;
    virtual void DrawFrom(const CPictureImage &holder, int slot, const QRect &source) = 0;
};

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
    // The same for names[0] .. names[n − 1] into slots 0 .. n − 1 (at most four), decoded side
    // by side on the machine's cores; returns when all are in their slots, with each load's
    // result. All the named slots are emptied before any decoding starts.
    std::vector<bool> LoadPngResources(int source, const QStringList &names);
    void ReleaseImage(int slot);
    // False when slot 0 is empty (the output is left alone); otherwise its width in pixels.
    bool GetMainImageWidth(int *width) const;
    // Draws the slot into the frame now (a synchronous repaint of a CPictureFrame): the source
    // square (x, y, cx, cy), y counted upwards from the bottom edge, stretched over the whole frame;
    // any negative x or y or non-positive size draws the whole picture. The frame keeps the slot
    // and the square for its later paints. An empty slot draws the empty frame and answers false; a
    // missing frame, or a widget that is not a picture frame, draws nothing and answers false.
    bool DrawImage(int slot, QWidget *frame, int x, int y, int cx, int cy);
    // The painting behind DrawImage, for a frame's paint handler: nearest-neighbour stretching
    // (rows and columns dropped or repeated, never blended) of the source square over `client`.
    // Parts of the square outside the picture show the empty frame's grey.
    bool Render(int slot, QPainter &painter, const QRect &client, int x, int y, int cx, int cy) const;
    // The light-grey frame RGB(240, 240, 240) with its 1-pixel black outline.
    static void DrawEmptyFrame(QPainter &painter, const QRect &client);

    bool HasImage(int slot) const;
    // The stored picture (flipped vertically: its first row is the PNG's last row), or null.
    const QImage *GetImage(int slot) const;
    int GetSourceCount() const { return m_nSourceCount; }

    // Resource folder of source 0: the PNGs compiled into the executable, unless a test has put a
    // folder of its own pictures in their place.
    static QString ExecutableSourcePrefix();
    // Test seam: `prefix` (a file-system folder ending in "/" whose files are named by resource
    // number) stands for the executable's pictures in every holder opened afterwards; an empty
    // prefix gives the executable's own back.
    static void OverrideExecutableSourceForTesting(const QString &prefix);

    // Test seam: registers `prefix` (a resource or file-system folder ending in "/") as source
    // `source` (0 .. 8), raising the source count to cover it.
    void AddSourceForTesting(int source, const QString &prefix);

    static constexpr QRgb kEmptyFrameColor = 0xfff0f0f0;  // RGB(240, 240, 240)

private:
    // A slot outside 0 .. 3 is a caller's mistake: it throws std::invalid_argument rather than
    // reach past the slots.
    static void CheckSlot(int slot);
    QImage &Slot(int slot);
    const QImage &Slot(int slot) const;
    // The file a source's resource name stands for, or empty when the name or source is not valid.
    QString ResolvePath(int source, const QString &name) const;
    // Decodes one PNG completely and flips it; false (and a null image) on any failure.
    static bool DecodePng(const QString &path, QImage *image);

    bool m_bSourcesOpened = false;
    int m_nSourceCount = 0;
    std::array<QString, kMaxSources> m_hSources{};  // resource folder per source, empty = none
    std::array<QImage, kSlotCount> m_pImages{};     // null image = empty slot
    mutable QImage m_scratch;                       // the frame-sized drawing buffer, reused
};
