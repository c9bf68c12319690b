#pragma once
// The program's small pictures: the three 24 × 24 button images, the application icon and the
// maker's logo, drawn as vectors at their final size so that their edges stay crisp.

#include <QImage>

class CUiArt
{
public:
    static QImage ExitButton();
    static QImage ZoomInButton();
    static QImage ZoomOutButton();
    // The application icon, a rice grain motif, at `size` × `size` pixels.
    static QImage AppIcon(int size);
    static QImage MakerLogo();
};
