// The pictures compiled into the program: the names the windows load, their sizes and formats,
// and that the photographs show grains of the colours their brands are described with.

#include "viewer/CPictureImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>
#include <QtTest>

namespace {

struct PngHeader {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = -1;  // 2 = RGB, 6 = RGB with alpha
};

PngHeader ReadHeader(const QString &path)
{
    PngHeader header;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return header;
    const QByteArray bytes = file.read(33);
    if (bytes.size() < 33 || !bytes.startsWith("\x89PNG\r\n\x1a\n") || bytes.mid(12, 4) != "IHDR")
        return header;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    header.width = static_cast<int>(qFromBigEndian<quint32>(p + 16));
    header.height = static_cast<int>(qFromBigEndian<quint32>(p + 20));
    header.bitDepth = p[24];
    header.colourType = p[25];
    return header;
}

// Shares of the photograph's pixels that are amber (clearly warmer than grey) and near white.
void ColourShares(const QImage &image, double *amber, double *white)
{
    qint64 nAmber = 0;
    qint64 nWhite = 0;
    qint64 total = 0;
    for (int y = 0; y < image.height(); y += 4) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 4) {
            const int r = qRed(line[x]);
            const int g = qGreen(line[x]);
            const int b = qBlue(line[x]);
            ++total;
            if (r > 150 && r - b > 60 && r >= g && g > b)
                ++nAmber;
            else if (b > 170 && r - b < 45)
                ++nWhite;
        }
    }
    *amber = static_cast<double>(nAmber) / static_cast<double>(total);
    *white = static_cast<double>(nWhite) / static_cast<double>(total);
}

}  // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void photographs_data();
    void photographs();
    void buttonImages_data();
    void buttonImages();
    void iconAndLogo();
    void holderLoadsEachBrand_data();
    void holderLoadsEachBrand();
};

void TestPictures::photographs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    for (const char *key : {"101", "151", "171"}) {
        const int main = qstrcmp(key, "101") == 0 ? 3840 : 2285;
        const QString k = QString::fromLatin1(key);
        QTest::newRow(qPrintable(k + QLatin1Char('1'))) << k + QLatin1Char('1') << main << main;
        QTest::newRow(qPrintable(k + QLatin1Char('2'))) << k + QLatin1Char('2') << 1297 << 1297;
        QTest::newRow(qPrintable(k + QLatin1Char('3'))) << k + QLatin1Char('3') << 1297 << 1297;
        QTest::newRow(qPrintable(k + QLatin1Char('4'))) << k + QLatin1Char('4') << 622 << 336;
    }
}

void TestPictures::photographs()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    const PngHeader header = ReadHeader(QString::fromLatin1(CPictureImage::kProgramPictures) + name);
    QCOMPARE(header.width, width);
    QCOMPARE(header.height, height);
    QCOMPARE(header.bitDepth, 8);
    QCOMPARE(header.colourType, 2);
}

void TestPictures::buttonImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("exit") << QStringLiteral(":/png/134");
    QTest::newRow("zoom in") << QStringLiteral(":/png/135");
    QTest::newRow("zoom out") << QStringLiteral(":/png/136");
}

void TestPictures::buttonImages()
{
    QFETCH(QString, path);
    const QImage image(path, "PNG");
    QCOMPARE(image.size(), QSize(24, 24));
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 23)), 0);
    QCOMPARE(qAlpha(image.pixel(23, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    QVERIFY2(opaque > 60, qPrintable(QString::number(opaque)));
}

void TestPictures::iconAndLogo()
{
    // Each size is drawn for its size, 48 (the title bar's) among them.
    const QStringList icons = QDir(QStringLiteral(":/icon")).entryList(QDir::Files);
    QVERIFY(icons.contains(QStringLiteral("48.png")));
    for (const QString &name : icons) {
        const QImage icon(QStringLiteral(":/icon/") + name);
        const int size = QFileInfo(name).baseName().toInt();
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
    }

    const QImage logo(QStringLiteral(":/bitmap/153.png"));
    QVERIFY(logo.width() >= 24 && logo.width() <= 32);
    QVERIFY(logo.height() >= 24 && logo.height() <= 30);
}

void TestPictures::holderLoadsEachBrand_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("mainSize");
    QTest::addColumn<bool>("amber");
    QTest::addColumn<bool>("white");
    QTest::newRow("きらら397: pale amber") << QStringLiteral("101") << 3840 << true << false;
    QTest::newRow("風の子もち: milky white") << QStringLiteral("151") << 2285 << false << true;
    QTest::newRow("吟風: amber with white cores") << QStringLiteral("171") << 2285 << true << true;
}

void TestPictures::holderLoadsEachBrand()
{
    QFETCH(QString, key);
    QFETCH(int, mainSize);
    QFETCH(bool, amber);
    QFETCH(bool, white);

    // The only test that decodes the real photographs: each once, as a brand choice does.
    CPictureImage holder(QString::fromLatin1(CPictureImage::kProgramPictures));
    QStringList names;
    for (int n = 1; n <= 4; ++n)
        names << key + QString::number(n);
    QCOMPARE(holder.LoadPngResources(0, names), (std::vector<bool>{true, true, true, true}));
    int width = 0;
    QVERIFY(holder.GetMainImageWidth(&width));
    QCOMPARE(width, mainSize);
    QCOMPARE(holder.GetImage(0).size(), QSize(mainSize, mainSize));
    QCOMPARE(holder.GetImage(1).size(), QSize(1297, 1297));
    QCOMPARE(holder.GetImage(2).size(), QSize(1297, 1297));
    QCOMPARE(holder.GetImage(3).size(), QSize(622, 336));

    double amberShare = 0;
    double whiteShare = 0;
    ColourShares(holder.GetImage(0), &amberShare, &whiteShare);
    // A few dozen grains cover a good part of the picture; the rest is the plain background.
    const QString shares = QStringLiteral("amber %1, white %2").arg(amberShare).arg(whiteShare);
    QVERIFY2((amberShare > 0.08) == amber, qPrintable(shares));
    QVERIFY2((whiteShare > 0.02) == white, qPrintable(shares));
}

QTEST_GUILESS_MAIN(TestPictures)
#include "test_pictures.moc"
