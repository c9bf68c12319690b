#pragma once
// Whether a dialog opened from its template fits the screen, and the dialog font size at which
// it does. The window's size is the template's size in dialog units at the base units measured
// from the dialog font, plus the frame the window manager draws round it. When that is larger
// than the screen's available area, the font is made smaller in half-point steps, and the base
// units measured again from it, until the window fits. A template that fits keeps its font.

#include <QSize>

#include <functional>

class CWindowFit
{
public:
    // The window manager's frame round the client area, in pixels.
    struct Frame {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    // The frame is not known before a window is first shown; this is room for the heavier frames
    // in common use (an 8-pixel border and a 38-pixel title bar).
    static constexpr Frame kAssumedFrame{8, 38, 8, 8};
    static constexpr double kPointStep = 0.5;
    // Below this the dialog texts are no longer readable; the window keeps this size at least.
    static constexpr double kSmallestPointSize = 6.0;

    // Base units measured from the dialog font at a point size.
    using BaseUnitsAt = std::function<QSize(double pointSize)>;

    // Pixels of a horizontal or vertical distance in dialog units: a quarter of the base width per
    // unit across, an eighth of the base height down, rounded down.
    static int MapX(int dluX, int baseWidth) { return dluX * baseWidth / 4; }
    static int MapY(int dluY, int baseHeight) { return dluY * baseHeight / 8; }
    // Client size of a template at base units, mapped as dialog units are.
    static QSize ClientSize(const QSize &templateDlu, const QSize &baseUnits);
    // Whether a client area with the frame round it lies within the available area.
    static bool Fits(const QSize &client, const Frame &frame, const QSize &available);
    // The point size to use: `pointSize` itself when the template fits at it, else the largest
    // size below it, in kPointStep steps, at which it fits; kSmallestPointSize when none does.
    static double FitPointSize(const QSize &templateDlu, double pointSize, const BaseUnitsAt &baseUnitsAt,
                               const QSize &available, const Frame &frame = kAssumedFrame);
};
