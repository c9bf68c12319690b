#include "app/CPictureFile.h"

#include "controls/CRvMessageBox.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageWriter>

namespace CPictureFile {

QString ProposedName(const QString &strName, const QString &strSuffix)
{
    QString name = strName.isEmpty() ? QStringLiteral("image") : strName;
    if (!strSuffix.isEmpty())
        name += QLatin1Char('_') + strSuffix;
    name += QStringLiteral(".png");
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return name;
}

void Copy(const QImage &picture)
{
    QGuiApplication::clipboard()->setImage(picture);
}

void SaveAs(QWidget *owner, const QImage &picture, const QString &strProposed)
{
    const QString path = QFileDialog::getSaveFileName(owner, QStringLiteral("画像を保存"),
                                                      QDir::home().filePath(strProposed),
                                                      QStringLiteral("PNG 画像 (*.png)"));
    if (!path.isEmpty())
        Write(owner, picture, path);
}

bool Write(QWidget *owner, const QImage &picture, const QString &path)
{
    QImageWriter writer(path, "png");
    if (writer.write(picture))
        return true;
    CRvMessageBox::DoMessageBox(owner,
                                QStringLiteral("画像を保存できませんでした。\n%1\n%2")
                                    .arg(QDir::toNativeSeparators(path), writer.errorString()),
                                QMessageBox::Ok, QMessageBox::Warning);
    return false;
}

}  // namespace CPictureFile
