#pragma once
// The program's small pictures: the three button images, the application icon and the maker's
// logo. Each comes from the executable's resources when present; until the artwork is supplied a
// simple picture drawn here stands in, so that every button and static still shows an image.

#include <QIcon>
#include <QImage>
#include <QString>

class CArtwork
{
public:
    enum Id : int {
        IDI_MAINFRAME = 128,     // application icon
        IDB_EXIT = 134,          // "終了"
        IDB_ZOOM_IN = 135,       // "拡大": magnifier with plus
        IDB_ZOOM_OUT = 136,      // "縮小": magnifier with minus
        IDB_MAKER_LOGO = 153,    // the maker's logo
    };
    static constexpr int kButtonImageSize = 24;
    static constexpr int kIconSize = 32;

    // The resource picture, or the stand-in when the resource is missing or unreadable.
    static QImage Load(int id);
    // Where the resource of an id lives (empty for an unknown id).
    static QString ResourcePath(int id);
    // The stand-in picture of an id (a null image for an unknown id).
    static QImage DrawPlaceholder(int id);
    // The application icon with every size the resources hold, for title bars and task bars.
    static QIcon AppIcon();
    // The icon as a dialog's static icon shows it: the large icon size, not stretched to the
    // static's template box.
    static QPixmap DialogIconPixmap();
};
