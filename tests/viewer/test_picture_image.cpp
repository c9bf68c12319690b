#include "controls/CPhotoFrame.h"
#include "viewer/CPictureImage.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every pixel of a test picture names its own place: red = column & 0xff, green = row & 0xff,
// blue = (column >> 8) << 4 | (row >> 8). Rows count from the top.
QImage CoordinatePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            image.setPixel(col, row, qRgb(col & 0xff, row & 0xff, ((col >> 8) << 4) | (row >> 8)));
    return image;
}

QPoint PlaceOf(QRgb pixel)
{
    return QPoint(qRed(pixel) | ((qBlue(pixel) >> 4) << 8), qGreen(pixel) | ((qBlue(pixel) & 0xf) << 8));
}

bool IsEmptyFrame(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool edge = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            const QRgb expected = edge ? qRgb(0, 0, 0) : qRgb(240, 240, 240);
            if (image.pixel(x, y) != expected)
                return false;
        }
    }
    return true;
}

}  // namespace

class TestPictureImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void loadRules_data();
    void loadRules();
    void storesPictureUpright();
    void mainImageWidth();
    void sourceFromBottom_data();
    void sourceFromBottom();
    void drawShowsThePixelUnderEachCentre_data();
    void drawShowsThePixelUnderEachCentre();
    void photoFrameShowsWhatItHolds();
    void batchLoadEmptiesSlotsAndReportsEach();
    void slotOutsideRangeThrows();
    void keptPicturesAreDecodedOnce_data();
    void keptPicturesAreDecodedOnce();

private:
    QTemporaryDir m_dir;
    QString m_prefix;
    QImage m_picture;  // "1001" as written
};

void TestPictureImage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_prefix = m_dir.path() + QLatin1Char('/');
    m_picture = CoordinatePicture(400, 300);
    QVERIFY(m_picture.save(m_prefix + QStringLiteral("1001"), "PNG"));
    QVERIFY(CoordinatePicture(60, 30).save(m_prefix + QStringLiteral("1002"), "PNG"));

    QFile garbage(m_prefix + QStringLiteral("1003"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();

    // A PNG cut off in the middle of its pixel data.
    QFile whole(m_prefix + QStringLiteral("1001"));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(m_prefix + QStringLiteral("1004"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();

    // A grey-scale PNG: stored in the same 32-bit form as every other picture.
    QImage grey(20, 10, QImage::Format_Grayscale8);
    grey.fill(128);
    QVERIFY(grey.save(m_prefix + QStringLiteral("1005"), "PNG"));
}

void TestPictureImage::loadRules_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("loaded");

    QTest::newRow("good") << 0 << QStringLiteral("1001") << true;
    QTest::newRow("grey-scale") << 0 << QStringLiteral("1005") << true;
    QTest::newRow("leading zero is the same number") << 0 << QStringLiteral("01001") << true;
    QTest::newRow("empty name") << 0 << QString() << false;
    QTest::newRow("source -1") << -1 << QStringLiteral("1001") << false;
    QTest::newRow("source 1: there is only one") << 1 << QStringLiteral("1001") << false;
    QTest::newRow("no such resource") << 0 << QStringLiteral("9999") << false;
    QTest::newRow("not a PNG") << 0 << QStringLiteral("1003") << false;
    QTest::newRow("cut-off PNG") << 0 << QStringLiteral("1004") << false;
    QTest::newRow("path outside the source") << 0 << QStringLiteral("../1001") << false;
    QTest::newRow("sign") << 0 << QStringLiteral("+1001") << false;
    QTest::newRow("space") << 0 << QStringLiteral(" 1001") << false;
    QTest::newRow("resource number 0") << 0 << QStringLiteral("0") << false;
    QTest::newRow("beyond a resource number") << 0 << QStringLiteral("65536") << false;
}

void TestPictureImage::loadRules()
{
    QFETCH(int, source);
    QFETCH(QString, name);
    QFETCH(bool, loaded);

    CPictureImage holder(m_prefix);
    // The slot holds a picture before, so a failing load must also empty it.
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1002"), 2));
    QCOMPARE(holder.LoadPngResource(source, name, 2), loaded);
    QCOMPARE(holder.HasImage(2), loaded);
    QCOMPARE(holder.GetImage(2).isNull(), !loaded);
    if (loaded)
        QCOMPARE(holder.GetImage(2).format(), QImage::Format_RGB32);
    QVERIFY(!holder.HasImage(0));
}

void TestPictureImage::storesPictureUpright()
{
    CPictureImage holder(m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 1));
    QCOMPARE(holder.GetImage(1), m_picture);
}

void TestPictureImage::mainImageWidth()
{
    CPictureImage holder(m_prefix);
    int width = -5;
    QVERIFY(!holder.GetMainImageWidth(&width));
    QCOMPARE(width, -5);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1002"), 1));
    QVERIFY(!holder.GetMainImageWidth(&width));
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 0));
    QVERIFY(holder.GetMainImageWidth(&width));
    QCOMPARE(width, 400);
}

void TestPictureImage::sourceFromBottom_data()
{
    QTest::addColumn<QRect>("fromBottom");
    QTest::addColumn<QRect>("shown");
    const QRect whole(0, 0, 400, 300);
    QTest::newRow("all zero") << QRect(0, 0, 0, 0) << whole;
    QTest::newRow("negative x") << QRect(-1, 10, 50, 50) << whole;
    QTest::newRow("negative y") << QRect(10, -1, 50, 50) << whole;
    QTest::newRow("zero width") << QRect(10, 10, 0, 50) << whole;
    QTest::newRow("negative height") << QRect(10, 10, 50, -3) << whole;
    // Bottom-left pixel at column 100, 200 rows above the bottom row: rows 50 .. 99 from the top.
    QTest::newRow("a square") << QRect(100, 200, 50, 50) << QRect(100, 50, 50, 50);
    QTest::newRow("beyond the top") << QRect(300, 200, 200, 200) << QRect(300, -100, 200, 200);
}

void TestPictureImage::sourceFromBottom()
{
    QFETCH(QRect, fromBottom);
    QFETCH(QRect, shown);
    QCOMPARE(CPictureImage::SourceFromBottom(QSize(400, 300), fromBottom), shown);
}

void TestPictureImage::drawShowsThePixelUnderEachCentre_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("source");
    QTest::addColumn<bool>("partial");  // only the frame's lower right part is painted
    const QSize p(400, 300);
    QTest::newRow("whole at its own size") << p << p << QRect(0, 0, 400, 300) << false;
    QTest::newRow("whole halved: rows and columns dropped") << p << QSize(200, 150) << QRect(0, 0, 400, 300) << false;
    QTest::newRow("square doubled: pixels repeated") << p << QSize(100, 100) << QRect(100, 50, 50, 50) << false;
    QTest::newRow("wide picture squeezed into a square")
        << QSize(60, 30) << QSize(50, 50) << QRect(0, 0, 60, 30) << false;
    QTest::newRow("beyond the right and the top: grey") << p << QSize(200, 200) << QRect(300, -100, 200, 200) << false;
    QTest::newRow("entirely outside") << p << QSize(20, 20) << QRect(5000, 5000, 10, 10) << false;
    // The main photographs in the frame sizes they open in, whole and zoomed; one axis each.
    QTest::newRow("3840 whole in 560") << QSize(3840, 2) << QSize(560, 2) << QRect(0, 0, 3840, 2) << false;
    QTest::newRow("3840 whole in 599") << QSize(3840, 2) << QSize(599, 2) << QRect(0, 0, 3840, 2) << false;
    QTest::newRow("2285 whole in 599") << QSize(2, 2285) << QSize(2, 599) << QRect(0, 0, 2, 2285) << false;
    QTest::newRow("2285 zoomed in 599") << QSize(2285, 2) << QSize(599, 2) << QRect(331, 0, 1622, 2) << false;
    QTest::newRow("3840 at 1.0 in 599") << QSize(3840, 2) << QSize(599, 2) << QRect(3240, 0, 599, 2) << false;
    QTest::newRow("zoomed, painted in part only") << p << QSize(299, 299) << QRect(13, 1, 377, 290) << true;
}

void TestPictureImage::drawShowsThePixelUnderEachCentre()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, frame);
    QFETCH(QRect, source);
    QFETCH(bool, partial);
    const QImage image = CoordinatePicture(picture.width(), picture.height());

    // Drawn into a window's worth of pixels, the frame at an offset.
    const QRect client(QPoint(7, 5), frame);
    QImage shown(frame + QSize(20, 20), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::red);
    QPainter painter(&shown);
    if (partial)
        painter.setClipRect(client.adjusted(frame.width() / 3, frame.height() / 4, 0, 0));
    CPictureImage::Draw(painter, client, image, source);
    painter.end();

    // Target pixel d of n shows source pixel origin + ⌊(2d + 1) × extent ÷ (2n)⌋.
    const auto under = [](int d, int n, int origin, int extent) {
        return origin + static_cast<int>((2 * qint64(d) + 1) * extent / (2 * qint64(n)));
    };
    for (int y = partial ? frame.height() / 4 : 0; y < frame.height(); ++y) {
        for (int x = partial ? frame.width() / 3 : 0; x < frame.width(); ++x) {
            const QPoint at(under(x, frame.width(), source.x(), source.width()),
                            under(y, frame.height(), source.y(), source.height()));
            const QRgb expected = image.rect().contains(at) ? image.pixel(at) : CPictureImage::kEmptyFrameColor;
            const QRgb pixel = shown.pixel(client.topLeft() + QPoint(x, y));
            if (pixel != expected)
                QFAIL(qPrintable(QStringLiteral("(%1, %2) shows (%3, %4) instead of (%5, %6)")
                                     .arg(x)
                                     .arg(y)
                                     .arg(PlaceOf(pixel).x())
                                     .arg(PlaceOf(pixel).y())
                                     .arg(at.x())
                                     .arg(at.y())));
        }
    }
}

void TestPictureImage::photoFrameShowsWhatItHolds()
{
    QWidget window;
    window.resize(300, 300);
    auto *frame = new CPhotoFrame(&window);
    frame->setGeometry(10, 10, 100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A picture is shown whole, then the square it is given.
    frame->ShowPicture(m_picture);
    QCOMPARE(frame->GetSource(), m_picture.rect());
    QImage shown = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(PlaceOf(shown.pixel(99, 99)), QPoint(398, 298));
    frame->ShowSource(QRect(100, 50, 50, 50));
    shown = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(PlaceOf(shown.pixel(0, 0)), QPoint(100, 50));
    QCOMPARE(PlaceOf(shown.pixel(99, 99)), QPoint(149, 99));

    // No picture: the empty frame.
    frame->ShowPicture(QImage());
    QVERIFY(IsEmptyFrame(frame->grab().toImage().convertToFormat(QImage::Format_RGB32)));
}

void TestPictureImage::batchLoadEmptiesSlotsAndReportsEach()
{
    CPictureImage holder(m_prefix);
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
        QVERIFY(holder.LoadPngResource(0, QStringLiteral("1002"), slot));

    const std::vector<bool> results =
        holder.LoadPngResources(0, {QStringLiteral("1001"), QStringLiteral("1003"), QString(), QStringLiteral("1005")});
    QCOMPARE(results, (std::vector<bool>{true, false, false, true}));
    QCOMPARE(holder.GetImage(0), m_picture);
    QVERIFY(!holder.HasImage(1));
    QVERIFY(!holder.HasImage(2));
    QCOMPARE(holder.GetImage(3).size(), QSize(20, 10));

    // Fewer names touch only their slots; a bad source fails each of them.
    QCOMPARE(holder.LoadPngResources(5, {QStringLiteral("1001")}), std::vector<bool>{false});
    QVERIFY(!holder.HasImage(0));
    QVERIFY(holder.HasImage(3));
}

void TestPictureImage::slotOutsideRangeThrows()
{
    CPictureImage holder(m_prefix);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, holder.LoadPngResource(0, QStringLiteral("1001"), 4));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, holder.ReleaseImage(-1));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, holder.HasImage(CPictureImage::kSlotCount));
}

void TestPictureImage::keptPicturesAreDecodedOnce_data()
{
    QTest::addColumn<bool>("aheadFirst");
    QTest::addColumn<bool>("waitForAhead");
    QTest::newRow("loaded before decoding ahead") << false << false;
    QTest::newRow("loaded while decoding ahead") << true << false;
    QTest::newRow("loaded after decoding ahead") << true << true;
}

void TestPictureImage::keptPicturesAreDecodedOnce()
{
    QFETCH(bool, aheadFirst);
    QFETCH(bool, waitForAhead);
    const QStringList kept = {QStringLiteral("1001"), QStringLiteral("1003"), QStringLiteral("1002"),
                              QStringLiteral("1005")};
    CPictureImage holder(m_prefix);
    holder.KeepDecoded(0, kept);
    if (aheadFirst)
        holder.DecodeAhead();
    if (waitForAhead) {
        holder.Decoded().WaitForBackground();
        QVERIFY(holder.IsDecoded(0, kept));
    }
    // Twice, and a picture outside the kept ones each time.
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(holder.LoadPngResources(0, {QStringLiteral("1001"), QStringLiteral("1003"), QStringLiteral("1004"),
                                             QStringLiteral("1005")}),
                 (std::vector<bool>{true, false, false, true}));
        QCOMPARE(holder.GetImage(0), m_picture);
        QCOMPARE(holder.GetImage(3).size(), QSize(20, 10));
    }
    holder.DecodeAhead();
    holder.Decoded().WaitForBackground();
    QVERIFY(holder.IsDecoded(0, kept));
    // The four kept ones once (a failed one too), the other on each load; the one the worker was
    // in the middle of may have been decoded again by the load.
    const int decodes = holder.Decoded().DecodeCount();
    QVERIFY2(decodes == 4 + 2 || (aheadFirst && !waitForAhead && decodes == 4 + 2 + 1), qPrintable(QString::number(decodes)));

    // A decode that is told to stop gives up.
    const std::atomic<bool> stop{true};
    QImage image;
    QVERIFY(!CDecodedPictures::Decode(m_prefix + QStringLiteral("1001"), &image, &stop));
    QVERIFY(image.isNull());
}

QTEST_MAIN(TestPictureImage)
#include "test_picture_image.moc"
