#pragma once
// The photograph holder: four picture slots. Slot 0 is the main photograph (frame 1015), slots 1
// and 2 the characteristics page's frames (1016, 1017), slot 3 the pedigree page's frame (1026).
// A slot is either empty or holds a completely decoded, upright picture as 32-bit RGB.
//
// The pictures are PNG files named by resource number in one folder, the holder's only source
// (source 0): the program's own, compiled into it, or a folder of a test's own.
//
// Drawing: a draw request names a square of the picture with its y counted upwards from the
// picture's bottom edge, as the zoom arithmetic counts it; SourceFromBottom turns it into the
// picture's own rows once, and Draw stretches that part over a frame, nearest pixel.

#include "viewer/CDecodedPictures.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class QPainter;

class CPictureImage
{
public:
    static constexpr int kSlotCount = 4;
    // The PNGs compiled into the program.
    static constexpr const char kProgramPictures[] = ":/png/";

    // `strFolder` ends in "/"; its files are named by resource number.
    explicit CPictureImage(const QString &strFolder);
    CPictureImage(const CPictureImage &) = delete;
    CPictureImage &operator=(const CPictureImage &) = delete;

    // Decodes PNG resource `name` (decimal digits) of `source` into `slot`. The slot is emptied
    // first, whatever the outcome; a picture that fails to decode never stays in it. Only source
    // 0 exists: any other index fails.
    bool LoadPngResource(int source, const QString &name, int slot);
    // The same for names[0] .. names[n − 1] into slots 0 .. n − 1 (at most four), decoded side
    // by side on the machine's cores; returns when all are in their slots, with each load's
    // result. All the named slots are emptied before any decoding starts.
    std::vector<bool> LoadPngResources(int source, const QStringList &names);
    // Pictures kept decoded: the named ones of `source`, once decoded (by a load or ahead), stay
    // decoded for the holder's life, and a load takes them without decoding again.
    void KeepDecoded(int source, const QStringList &names);
    // Starts decoding the kept pictures in the background, one at a time at the lowest priority.
    void DecodeAhead();
    // Whether the named pictures are all kept and decoded: a load of them decodes nothing.
    bool IsDecoded(int source, const QStringList &names) const;
    // The decoding behind the loads (tests and benchmarks wait for it and count its decodes).
    const CDecodedPictures &Decoded() const { return m_decoded; }
    void ReleaseImage(int slot);
    // False when slot 0 is empty (the output is left alone); otherwise its width in pixels.
    bool GetMainImageWidth(int *width) const;

    bool HasImage(int slot) const;
    // The slot's picture, upright; a null image when the slot is empty.
    const QImage &GetImage(int slot) const;

    // The part (x, y, cx, cy) of a picture of `size`, y counted upwards from its bottom edge, as
    // a rectangle of the picture's own rows (counted from the top). Any negative x or y, or a
    // size that is not positive, means the whole picture.
    static QRect SourceFromBottom(const QSize &size, const QRect &fromBottom);
    // Stretches `source` of `picture` over `client`, nearest pixel: client column d shows source
    // column x + ⌊(2d + 1) × cx ÷ (2 × width)⌋, the one under the pixel's centre (rows alike);
    // nothing is blended. Rows and columns of the source outside the picture show the empty
    // frame's grey.
    static void Draw(QPainter &painter, const QRect &client, const QImage &picture, const QRect &source);
    // The light-grey frame RGB(240, 240, 240) with its 1-pixel black outline.
    static void DrawEmptyFrame(QPainter &painter, const QRect &client);

    static constexpr QRgb kEmptyFrameColor = 0xfff0f0f0;  // RGB(240, 240, 240)

private:
    // A slot outside 0 .. 3 is a caller's mistake: it throws std::invalid_argument rather than
    // reach past the slots.
    static void CheckSlot(int slot);
    QImage &Slot(int slot);
    // The file a resource name stands for, or empty when the name or source is not valid.
    QString ResolvePath(int source, const QString &name) const;
    QStringList ResolvePaths(int source, const QStringList &names) const;

    QString m_strFolder;
    std::array<QImage, kSlotCount> m_pImages{};  // null image = empty slot
    CDecodedPictures m_decoded;
};
