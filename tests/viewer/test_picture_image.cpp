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

QImage RenderSlot(const CPictureImage &holder, int slot, QSize frame, const QRect &source, bool *drawn = nullptr)
{
    QImage target(frame, QImage::Format_RGB32);
    target.fill(Qt::red);
    QPainter painter(&target);
    const bool result =
        holder.Render(slot, painter, target.rect(), source.x(), source.y(), source.width(), source.height());
    if (drawn != nullptr)
        *drawn = result;
    return target;
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
    void openSourcesTwiceKeepsOneSource();
    void storesPictureFlipped();
    void mainImageWidth();
    void drawsSourceSquareBottomUp();
    void drawsWholePicture_data();
    void drawsWholePicture();
    void stretchesWithoutKeepingAspect();
    void squareBeyondPictureIsNotRead();
    void emptySlotDrawsEmptyFrame();
    void drawImageIntoPhotoFrame();
    void batchLoadEmptiesSlotsAndReportsEach();
    void slotOutsideRangeThrows();

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

    QTest::newRow("good") << 1 << QStringLiteral("1001") << true;
    QTest::newRow("grey-scale") << 1 << QStringLiteral("1005") << true;
    QTest::newRow("leading zero is the same number") << 1 << QStringLiteral("01001") << true;
    QTest::newRow("empty name") << 1 << QString() << false;
    QTest::newRow("source -1") << -1 << QStringLiteral("1001") << false;
    QTest::newRow("source = count") << 4 << QStringLiteral("1001") << false;
    QTest::newRow("source without a folder") << 2 << QStringLiteral("1001") << false;
    QTest::newRow("no such resource") << 1 << QStringLiteral("9999") << false;
    QTest::newRow("not a PNG") << 1 << QStringLiteral("1003") << false;
    QTest::newRow("cut-off PNG") << 1 << QStringLiteral("1004") << false;
    QTest::newRow("path outside the source") << 1 << QStringLiteral("../1001") << false;
    QTest::newRow("sign") << 1 << QStringLiteral("+1001") << false;
    QTest::newRow("space") << 1 << QStringLiteral(" 1001") << false;
    QTest::newRow("resource number 0") << 1 << QStringLiteral("0") << false;
    QTest::newRow("beyond a resource number") << 1 << QStringLiteral("65536") << false;
}

void TestPictureImage::loadRules()
{
    QFETCH(int, source);
    QFETCH(QString, name);
    QFETCH(bool, loaded);

    CPictureImage holder;
    holder.OpenSources();
    holder.AddSourceForTesting(1, m_prefix);
    holder.AddSourceForTesting(3, m_prefix);
    QCOMPARE(holder.GetSourceCount(), 4);

    // The slot holds a picture before, so a failing load must also empty it.
    QVERIFY(holder.LoadPngResource(1, QStringLiteral("1002"), 2));
    QCOMPARE(holder.LoadPngResource(source, name, 2), loaded);
    QCOMPARE(holder.HasImage(2), loaded);
    QCOMPARE(holder.GetImage(2) != nullptr, loaded);
    if (loaded)
        QCOMPARE(holder.GetImage(2)->format(), QImage::Format_RGB32);
    QVERIFY(!holder.HasImage(0));
}

void TestPictureImage::openSourcesTwiceKeepsOneSource()
{
    CPictureImage holder;
    QCOMPARE(holder.GetSourceCount(), 0);
    QVERIFY(!holder.LoadPngResource(0, QStringLiteral("1001"), 0));
    holder.OpenSources();
    holder.OpenSources();
    QCOMPARE(holder.GetSourceCount(), 1);
}

void TestPictureImage::storesPictureFlipped()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 1));
    const QImage *stored = holder.GetImage(1);
    QVERIFY(stored != nullptr);
    QCOMPARE(stored->size(), QSize(400, 300));
    QCOMPARE(PlaceOf(stored->pixel(0, 0)), QPoint(0, 299));
    QCOMPARE(PlaceOf(stored->pixel(399, 299)), QPoint(399, 0));
    QCOMPARE(*stored, m_picture.mirrored(false, true));
}

void TestPictureImage::mainImageWidth()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    int width = -5;
    QVERIFY(!holder.GetMainImageWidth(&width));
    QCOMPARE(width, -5);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1002"), 1));
    QVERIFY(!holder.GetMainImageWidth(&width));
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 0));
    QVERIFY(holder.GetMainImageWidth(&width));
    QCOMPARE(width, 400);
}

void TestPictureImage::drawsSourceSquareBottomUp()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 0));

    // The 50 × 50 square whose bottom-left pixel is column 100 and 200 rows above the bottom row:
    // columns 100 .. 149, rows 50 .. 99 counted from the top of the 300-row picture.
    bool drawn = false;
    const QImage shown = RenderSlot(holder, 0, QSize(100, 100), QRect(100, 200, 50, 50), &drawn);
    QVERIFY(drawn);
    QCOMPARE(PlaceOf(shown.pixel(0, 0)), QPoint(100, 50));
    QCOMPARE(PlaceOf(shown.pixel(99, 0)), QPoint(149, 50));
    QCOMPARE(PlaceOf(shown.pixel(0, 99)), QPoint(100, 99));
    QCOMPARE(PlaceOf(shown.pixel(99, 99)), QPoint(149, 99));

    // Doubled by repeating pixels: every shown pixel is a picture pixel of the square, each
    // 2 × 2 block shows one of them, and all 50 columns and rows appear upright.
    QSet<int> columns;
    QSet<int> rows;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const QPoint place = PlaceOf(shown.pixel(x, y));
            QCOMPARE(place, QPoint(100 + x / 2, 50 + y / 2));
            columns.insert(place.x());
            rows.insert(place.y());
        }
    }
    QCOMPARE(columns.size(), 50);
    QCOMPARE(rows.size(), 50);
}

void TestPictureImage::drawsWholePicture_data()
{
    QTest::addColumn<QRect>("source");
    QTest::newRow("all zero") << QRect(0, 0, 0, 0);
    QTest::newRow("negative x") << QRect(-1, 10, 50, 50);
    QTest::newRow("negative y") << QRect(10, -1, 50, 50);
    QTest::newRow("zero width") << QRect(10, 10, 0, 50);
    QTest::newRow("negative height") << QRect(10, 10, 50, -3);
}

void TestPictureImage::drawsWholePicture()
{
    QFETCH(QRect, source);
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 0));
    // At the picture's own size the whole picture comes out upright and unchanged.
    QCOMPARE(RenderSlot(holder, 0, QSize(400, 300), source), m_picture);
    // Halved, rows and columns are dropped, never blended.
    const QImage half = RenderSlot(holder, 0, QSize(200, 150), source);
    QCOMPARE(PlaceOf(half.pixel(0, 0)), QPoint(1, 1));
    QCOMPARE(PlaceOf(half.pixel(199, 149)), QPoint(399, 299));
    QCOMPARE(PlaceOf(half.pixel(57, 33)), QPoint(115, 67));
}

void TestPictureImage::stretchesWithoutKeepingAspect()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1002"), 3));
    // 60 × 30 into a square: the picture fills the frame, squeezed across and stretched down.
    const QImage shown = RenderSlot(holder, 3, QSize(50, 50), QRect());
    QCOMPARE(PlaceOf(shown.pixel(0, 0)), QPoint(0, 0));
    QCOMPARE(PlaceOf(shown.pixel(49, 0)), QPoint(59, 0));
    QCOMPARE(PlaceOf(shown.pixel(0, 49)), QPoint(0, 29));
    QCOMPARE(PlaceOf(shown.pixel(49, 49)), QPoint(59, 29));
}

void TestPictureImage::squareBeyondPictureIsNotRead()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 0));
    // The square reaches 100 columns past the right edge and 100 rows past the top.
    const QImage shown = RenderSlot(holder, 0, QSize(200, 200), QRect(300, 200, 200, 200));
    QCOMPARE(PlaceOf(shown.pixel(0, 199)), QPoint(300, 99));
    QCOMPARE(PlaceOf(shown.pixel(99, 100)), QPoint(399, 0));
    QCOMPARE(shown.pixel(100, 150), CPictureImage::kEmptyFrameColor);
    QCOMPARE(shown.pixel(50, 99), CPictureImage::kEmptyFrameColor);
    // Entirely outside.
    const QImage outside = RenderSlot(holder, 0, QSize(20, 20), QRect(5000, 5000, 10, 10));
    QCOMPARE(outside.pixel(10, 10), CPictureImage::kEmptyFrameColor);
}

void TestPictureImage::emptySlotDrawsEmptyFrame()
{
    CPictureImage holder;
    bool drawn = true;
    QVERIFY(IsEmptyFrame(RenderSlot(holder, 0, QSize(40, 30), QRect(), &drawn)));
    QVERIFY(!drawn);

    QVERIFY(!holder.DrawImage(0, nullptr, 0, 0, 0, 0));
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 0));
    QWidget notAFrame;
    QVERIFY(!holder.DrawImage(0, &notAFrame, 0, 0, 0, 0));
}

void TestPictureImage::drawImageIntoPhotoFrame()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY(holder.LoadPngResource(0, QStringLiteral("1001"), 0));

    QWidget window;
    window.resize(300, 300);
    auto *frame = new CPhotoFrame(&window);
    frame->setGeometry(10, 10, 100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The frame remembers the slot and square of the draw request for its later paints.
    QVERIFY(holder.DrawImage(0, frame, 100, 200, 50, 50));
    QCOMPARE(frame->GetSlot(), 0);
    QCOMPARE(frame->GetSource(), QRect(100, 200, 50, 50));
    frame->SetHolderProvider([&holder]() { return &holder; });
    QImage shown = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(PlaceOf(shown.pixel(0, 0)), QPoint(100, 50));
    QCOMPARE(PlaceOf(shown.pixel(99, 99)), QPoint(149, 99));

    // The owner's view wins over the last request on later paints.
    frame->SetSourceProvider([]() { return QRect(0, 0, 0, 0); });
    shown = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(PlaceOf(shown.pixel(99, 99)), QPoint(398, 298));

    QVERIFY(!holder.DrawImage(1, frame, 0, 0, 0, 0));
    QVERIFY(IsEmptyFrame(frame->grab().toImage().convertToFormat(QImage::Format_RGB32)));
}

void TestPictureImage::batchLoadEmptiesSlotsAndReportsEach()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    for (int slot = 0; slot < CPictureImage::kSlotCount; ++slot)
        QVERIFY(holder.LoadPngResource(0, QStringLiteral("1002"), slot));

    const std::vector<bool> results =
        holder.LoadPngResources(0, {QStringLiteral("1001"), QStringLiteral("1003"), QString(), QStringLiteral("1005")});
    QCOMPARE(results, (std::vector<bool>{true, false, false, true}));
    QCOMPARE(holder.GetImage(0)->size(), QSize(400, 300));
    QCOMPARE(*holder.GetImage(0), m_picture.mirrored(false, true));
    QVERIFY(!holder.HasImage(1));
    QVERIFY(!holder.HasImage(2));
    QCOMPARE(holder.GetImage(3)->size(), QSize(20, 10));

    // Fewer names touch only their slots; a bad source fails each of them.
    QCOMPARE(holder.LoadPngResources(5, {QStringLiteral("1001")}), std::vector<bool>{false});
    QVERIFY(!holder.HasImage(0));
    QVERIFY(holder.HasImage(3));
}

void TestPictureImage::slotOutsideRangeThrows()
{
    CPictureImage holder;
    holder.AddSourceForTesting(0, m_prefix);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, holder.LoadPngResource(0, QStringLiteral("1001"), 4));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, holder.ReleaseImage(-1));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, holder.HasImage(CPictureImage::kSlotCount));
}

QTEST_MAIN(TestPictureImage)
#include "test_picture_image.moc"
