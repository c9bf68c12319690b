#pragma once
// Small stand-ins for the program's twelve photographs, written to a temporary folder that a test
// hands to the main window in place of the program's own pictures. Each picture is one
// colour of its own, so that a test sees which picture landed in which slot; the main photographs
// are larger than the photo frame, so that they can be zoomed.

#include <QImage>
#include <QString>
#include <QTemporaryDir>

class CTestPictures
{
public:
    // Powers of two: the fit scale of any frame width is then exact, and a zoom step in and one
    // out come back to it exactly, as they do for the real photographs in the frame they open in.
    static constexpr int kMainSize101 = 1024;  // きらら397's main photograph
    static constexpr int kMainSize = 2048;     // 風の子もち's and 吟風's
    static constexpr int kDetailSize = 130;
    static constexpr int kChartWidth = 62;
    static constexpr int kChartHeight = 34;

    CTestPictures()
    {
        for (const char *key : {"101", "151", "171"}) {
            for (int n = 1; n <= 4; ++n) {
                const QString name = QString::fromLatin1(key) + QString::number(n);
                m_bValid = m_bValid && Picture(name).save(m_dir.filePath(name), "PNG");
            }
        }
    }
    CTestPictures(const CTestPictures &) = delete;
    CTestPictures &operator=(const CTestPictures &) = delete;

    bool IsValid() const { return m_dir.isValid() && m_bValid; }
    // The folder, ending in "/", for the window's picture holder.
    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }

    static int MainSize(const QString &key) { return key == QLatin1String("101") ? kMainSize101 : kMainSize; }

    // The picture written for a resource name, as the PNG holds it (upright).
    static QImage Picture(const QString &name)
    {
        const int slot = name.right(1).toInt() - 1;
        QSize size(kDetailSize, kDetailSize);
        if (slot == 0)
            size = QSize(MainSize(name.left(3)), MainSize(name.left(3)));
        else if (slot == 3)
            size = QSize(kChartWidth, kChartHeight);
        const int number = name.toInt();
        QImage image(size, QImage::Format_RGB32);
        image.fill(qRgb(number % 251, number / 7 % 251, 40 * slot));
        return image;
    }

private:
    QTemporaryDir m_dir;
    bool m_bValid = true;
};
