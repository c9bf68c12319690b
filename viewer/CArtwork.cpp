#include "viewer/CArtwork.h"

#include <QPixmap>

QString CArtwork::ResourcePath(int id)
{
    switch (id) {
    case IDI_MAINFRAME:
        return QStringLiteral(":/icon/128.png");
    case IDB_EXIT:
    case IDB_ZOOM_IN:
    case IDB_ZOOM_OUT:
        return QStringLiteral(":/png/%1").arg(id);
    case IDB_MAKER_LOGO:
        return QStringLiteral(":/bitmap/153.png");
    default:
        return QString();
    }
}

QImage CArtwork::Load(int id)
{
    const QString path = ResourcePath(id);
    return path.isEmpty() ? QImage() : QImage(path);
}

QIcon CArtwork::AppIcon()
{
    QIcon icon(QPixmap::fromImage(Load(IDI_MAINFRAME)));
    for (const int size : {16, 24, 32, 64, 256}) {
        const QImage image(QStringLiteral(":/icon/128-%1.png").arg(size));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QPixmap CArtwork::DialogIconPixmap()
{
    return AppIcon().pixmap(kIconSize, kIconSize);
}
