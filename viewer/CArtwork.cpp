#include "viewer/CArtwork.h"

#include <QDir>
#include <QPixmap>

QString CArtwork::ResourcePath(int id)
{
    switch (id) {
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
    // Every size the generator drew is in the icon folder, named by its size.
    QIcon icon;
    const QDir folder(QStringLiteral(":/icon"));
    for (const QString &name : folder.entryList(QDir::Files)) {
        const QImage image(folder.filePath(name));
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QPixmap CArtwork::DialogIconPixmap()
{
    return AppIcon().pixmap(kIconSize, kIconSize);
}
