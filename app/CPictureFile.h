#pragma once
// Copying and saving a picture at full resolution, shared by the photograph block and the
// picture window.

#include <QImage>
#include <QString>

class QWidget;

namespace CPictureFile {
// The proposed file name: the brand's name, then "_" and `strSuffix` when there is one, ".png";
// a slash (which would point into a folder) becomes "_", no name becomes "image".
QString ProposedName(const QString &strName, const QString &strSuffix = QString());
// The picture on the clipboard.
void Copy(const QImage &picture);
// Asks for a file name, proposing `strProposed` in the home folder, then Write.
void SaveAs(QWidget *owner, const QImage &picture, const QString &strProposed);
// Writes the picture as PNG to `path`; a failed write is told in a message box over `owner`.
// Answers whether the file was written.
bool Write(QWidget *owner, const QImage &picture, const QString &path);
}  // namespace CPictureFile
