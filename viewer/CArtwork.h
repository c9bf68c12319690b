#pragma once
// The program's small pictures: the three button images, the application icon and the maker's
// logo, drawn by the artwork generator (tools/artwork) and compiled into the executable. A program
// built without them (the tests) gets null pictures: its buttons show their text alone.

#include <QIcon>
#include <QImage>
#include <QString>

class CArtwork
{
public:
    enum Id : int {
        IDI_MAINFRAME = 128,   // application icon (every size of it: AppIcon)
        IDB_EXIT = 134,        // "終了"
        IDB_ZOOM_IN = 135,     // "拡大": magnifier with plus
        IDB_ZOOM_OUT = 136,    // "縮小": magnifier with minus
        IDB_MAKER_LOGO = 153,  // the maker's logo
    };
    static constexpr int kIconSize = 32;

    // The resource picture, or a null image when the resource is missing or unreadable.
    static QImage Load(int id);
    // Where the resource of an id lives (empty for an unknown id).
    static QString ResourcePath(int id);
    // The application icon with every size the resources hold, for title bars and task bars.
    static QIcon AppIcon();
    // The icon as a dialog's static icon shows it: the large icon size, not stretched to the
    // static's template box.
    static QPixmap DialogIconPixmap();
};
